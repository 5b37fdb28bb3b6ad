// The whole flow through the main window: open a page, recognise it, draw an
// erase area with the mouse, recognise again, save the page list, export
// MusicXML and check it. Run on the bundled sample page, and on a real
// corpus page when the corpus is there.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop/main_window.h"
#include "desktop/page_canvas.h"
#include "desktop/progress_window.h"
#include "desktop_test_registry.h"
#include "recognition/document.h"
#include "test_paths.h"

namespace {

// Pitched notes.
int NombreNotes(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(f.readAll().count("<pitch>"));
}

}  // namespace

class EssaiReconnaissance : public QObject {
    Q_OBJECT
  private slots:
    void PageEchantillon() { Parcours(QStringLiteral(RUZO_TEST_DATA "/sample-page.png")); }

    void PageDuCorpus() {
        const QString page = QStringLiteral(RUZO_CORPUS "/pages/fife_chester/musescore/page-1.png");
        if (!QFile::exists(page)) QSKIP("no corpus");
        Parcours(page);
    }

    // The page fills in staff by staff: a picture after each staff read,
    // before the page's final one.
    void PageMontreeAMesureDesPortees() {
        QTemporaryDir dossier;
        const QString image = dossier.filePath(QStringLiteral("page.png"));
        QVERIFY(QFile::copy(QStringLiteral(RUZO_TEST_DATA "/sample-page.png"), image));
        FenetrePrincipale fenetre;
        fenetre.show();
        QVERIFY(fenetre.Ouvre({image}));
        fenetre.AttendMoteur();
        QCoreApplication::processEvents();
        fenetre.DonneIntervalleVueEnCours(std::chrono::milliseconds(0));
        QSignalSpy vues(&fenetre, &FenetrePrincipale::VueAffichee);

        fenetre.ReconnaitPage();
        fenetre.AttendMoteur();
        QCoreApplication::processEvents();
        QVERIFY(fenetre.DerniereReconnaissanceReussie());
        const int portees = Document.Etat.NbPorteesTrouvees();
        QVERIFY(portees >= 2);
        QVERIFY2(vues.count() >= portees + 1, qPrintable(QString::number(vues.count())));
    }

  private:
    void Parcours(const QString& source) {
        QTemporaryDir dossier;
        const QString image = dossier.filePath(QStringLiteral("page.png"));
        QVERIFY(QFile::copy(source, image));

        FenetrePrincipale fenetre;
        fenetre.show();
        QVERIFY(fenetre.Ouvre({image}));
        fenetre.AttendMoteur();
        ToilePage* toile = fenetre.Toile();
        QVERIFY(!toile->Image().isNull());

        fenetre.ReconnaitDocumentEntier();
        fenetre.AttendMoteur();
        QCoreApplication::processEvents();  // the page views sent while it ran
        QVERIFY(fenetre.DerniereReconnaissanceReussie());
        // An unsaved document's results go beside its first image.
        QVERIFY(QFile::exists(dossier.filePath(QStringLiteral("page.msb"))));
        const QString premier = dossier.filePath(QStringLiteral("first.musicxml"));
        QVERIFY(fenetre.ExporteMusicXMLVers(premier));
        const int notes = NombreNotes(premier);
        QVERIFY2(notes > 10, qPrintable(QString::number(notes)));

        // An erase area over a note in the middle of the page, drawn with the mouse.
        std::vector<SymboleVu> notesVues;
        for (const SymboleVu& s : fenetre.SymbolesVus())
            if (!s.silence) notesVues.push_back(s);
        QVERIFY(!notesVues.empty());
        const SymboleVu note = notesVues[notesVues.size() / 2];
        const int r = note.rayon;
        const QRectF zone = toile->VersFenetre(
            Rect{static_cast<int16_t>(note.y - r), static_cast<int16_t>(note.x - r),
                 static_cast<int16_t>(note.y + r), static_cast<int16_t>(note.x + r)});
        QTest::mousePress(toile, Qt::LeftButton, {}, zone.topLeft().toPoint());
        QTest::mouseMove(toile, zone.center().toPoint());
        QTest::mouseRelease(toile, Qt::LeftButton, {}, zone.bottomRight().toPoint());
        QCOMPARE(toile->Aires().size(), size_t{1});

        fenetre.ReconnaitDocumentEntier();
        fenetre.AttendMoteur();
        QCoreApplication::processEvents();
        QCOMPARE(Document.Pages[0].Aires.size(), size_t{1});  // recognition used the area
        const QString second = dossier.filePath(QStringLiteral("second.musicxml"));
        QVERIFY2(fenetre.DerniereReconnaissanceReussie(),
                 qPrintable(fenetre.Progression()->Avertissements().join(QStringLiteral(" / "))));
        QVERIFY(fenetre.ExporteMusicXMLVers(second));
        const int restantes = NombreNotes(second);
        QVERIFY2(restantes < notes,
                 qPrintable(QStringLiteral("%1 then %2").arg(notes).arg(restantes)));
        qInfo("notes before and after the erase area: %d, %d", notes, restantes);

        const QString liste = dossier.filePath(QStringLiteral("piece.lfs"));
        QVERIFY(fenetre.EnregistreListeSous(liste));
        QFile lu(liste);
        QVERIFY(lu.open(QIODevice::ReadOnly));
        QVERIFY(lu.readAll().contains("CommandeParam"));
        FermeDocument();
    }
};

static EnregistreEssai<EssaiReconnaissance> enregistrement;
#include "recognition_flow_test.moc"
