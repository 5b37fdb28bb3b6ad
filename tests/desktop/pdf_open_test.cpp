// PDF scores in the window: opened, their pages are written beside the PDF
// and the document is named after it; added to a saved page list, the pages
// go beside the list; a damaged PDF is refused with its reason and leaves
// no pages. The PDFs are drawn here with Qt's PDF writer from the bundled
// sample page.
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop/main_window.h"
#include "desktop/page_strip.h"
#include "desktop_test_registry.h"
#include "message_boxes.h"
#include "recognition/document.h"
#include "test_paths.h"

namespace {

// `nbPages` pages, each the sample page filling it at 300 dpi.
bool EcritPdf(const QString& chemin, int nbPages) {
    const QImage page(QStringLiteral(RUZO_TEST_DATA "/sample-page.png"));
    if (page.isNull()) return false;
    QPdfWriter pdf(chemin);
    pdf.setResolution(300);
    pdf.setPageSize(
        QPageSize(QSizeF(page.width() * 72.0 / 300, page.height() * 72.0 / 300), QPageSize::Point));
    pdf.setPageMargins({});
    QPainter peintre(&pdf);
    for (int i = 0; i < nbPages; ++i) {
        if (i > 0) pdf.newPage();
        peintre.drawImage(QRect(0, 0, page.width(), page.height()), page);
    }
    return peintre.end();
}

}  // namespace

class EssaiPdf : public QObject {
    Q_OBJECT
  private slots:
    void OuvreLesPagesACoteDuPdf() {
        QTemporaryDir dossier;
        const QString pdf = dossier.filePath(QStringLiteral("score.pdf"));
        QVERIFY(EcritPdf(pdf, 2));
        FenetrePrincipale fenetre;
        QVERIFY(fenetre.Ouvre({pdf}));
        fenetre.AttendMoteur();
        QCOMPARE(Document.Pages.size(), size_t{2});
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(int{Document.Pages[i].NumPage}, i + 1);
            const QString image = QString::fromStdString(Document.Pages[i].CheminImage());
            QVERIFY2(image.startsWith(dossier.filePath(QStringLiteral("score-pages/score-p000"))),
                     qPrintable(image));
            QVERIFY(QFile::exists(image));
        }
        QCOMPARE(fenetre.findChild<BandePages*>()->count(), 2);
        QCOMPARE(fenetre.ListeProposee(), dossier.filePath(QStringLiteral("score.lfs")));
        fenetre.AttendMoteur();  // the first page's view
        FermeDocument();
    }

    void RefuseUnPdfEndommageAvecSaRaison() {
        QTemporaryDir dossier;
        const QString pdf = dossier.filePath(QStringLiteral("cut.pdf"));
        QVERIFY(EcritPdf(pdf, 1));
        QFile fichier(pdf);
        QVERIFY(fichier.resize(fichier.size() / 2));
        FenetrePrincipale fenetre;
        const auto message = FermeProchainMessage();
        QVERIFY(fenetre.Ouvre({pdf}));
        fenetre.AttendMoteur();
        QVERIFY2(message->contains(QStringLiteral("cut short")), qPrintable(*message));
        QVERIFY(Document.Pages.empty());
        QVERIFY(!fenetre.windowTitle().contains(QLatin1Char('*')));
    }

    void AjouteAUneListeEnregistree() {
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir(QStringLiteral("list")));
        const QString image = dossier.filePath(QStringLiteral("list/page.png"));
        QVERIFY(QFile::copy(QStringLiteral(RUZO_TEST_DATA "/sample-page.png"), image));
        const QString pdf = dossier.filePath(QStringLiteral("score.pdf"));
        QVERIFY(EcritPdf(pdf, 1));
        FenetrePrincipale fenetre;
        QVERIFY(fenetre.Ouvre({image}));
        fenetre.AttendMoteur();
        QVERIFY(fenetre.EnregistreListeSous(dossier.filePath(QStringLiteral("list/doc.lfs"))));
        QVERIFY(fenetre.AjoutePages({pdf}));
        fenetre.AttendMoteur();
        QCOMPARE(Document.Pages.size(), size_t{2});
        QCOMPARE(int{Document.Pages[1].NumPage}, 1);
        QVERIFY(QFile::exists(QString::fromStdString(Document.Pages[1].CheminImage())));
        QVERIFY(QString::fromStdString(Document.Pages[1].LibPath)
                    .endsWith(QStringLiteral("list/score-pages")));
        fenetre.AttendMoteur();
        FermeDocument();
    }
};

static EnregistreEssai<EssaiPdf> enregistrement;
#include "pdf_open_test.moc"
