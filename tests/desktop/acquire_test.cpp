// Acquiring pages: with no scanner and no plug-in the user is told how to
// get one; with the sample acquire plug-in in the plug-in folder, the menu
// lists it and chooses it, the Acquire dialog starts on it, and scanning
// two pages adds them to the document under the names the page list gives.
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <filesystem>

#include "acquisition/plugins.h"
#include "desktop/acquire_dialog.h"
#include "desktop/main_window.h"
#include "desktop/page_strip.h"
#include "desktop_test_registry.h"
#include "document/preferences.h"
#include "message_boxes.h"
#include "recognition/document.h"
#include "test_paths.h"

namespace {

const QString kPlugInEchantillon = QString::fromStdString(
    std::filesystem::path(RUZO_PROGRAM).parent_path().string() + "/Plug-ins/sample.8bs.so");

}  // namespace

class EssaiAcquisition : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        DechargePlugIn();
        DefinitDossierPlugIns("");
        unsetenv("RUZO_SAMPLE_PAGE");
        unsetenv("RUZO_SAMPLE_DEPTH");
        ReglePreferencesParDefaut(Prefs);
        FermeDocument();
    }

    void SansSourceIlDitCommentEnAvoir() {
        QTemporaryDir dossier;
        DefinitDossierPlugIns(dossier.path().toStdString());
        FenetrePrincipale fenetre;
        QVERIFY(!fenetre.MenuPlugInsAcquisition()->isEnabled());
        const auto message = FermeProchainMessage();
        fenetre.CommandeAcquerir();
        QVERIFY2(message->contains(QStringLiteral("No scanner or acquire plug-in")),
                 qPrintable(*message));
        QVERIFY(message->contains(dossier.path()));
    }

    void LePlugInEchantillonScanneDeuxPages() {
        if (!QFile::exists(kPlugInEchantillon)) QSKIP("the sample plug-in is built with the tests");
        QTemporaryDir dossier;
        const QString plugIns = dossier.filePath(QStringLiteral("Plug-ins"));
        QVERIFY(QDir().mkpath(plugIns));
        QVERIFY(QFile::copy(kPlugInEchantillon, plugIns + QStringLiteral("/sample.8bs.so")));
        DefinitDossierPlugIns(plugIns.toStdString());
        const QString pgm = dossier.filePath(QStringLiteral("page.pgm"));
        QVERIFY(QImage(QStringLiteral(RUZO_TEST_DATA "/sample-page.png"))
                    .convertToFormat(QImage::Format_Grayscale8)
                    .save(pgm, "PGM"));
        setenv("RUZO_SAMPLE_PAGE", pgm.toLocal8Bit().constData(), 1);
        setenv("RUZO_SAMPLE_DEPTH", "1",
               1);  // black and white at 300 dpi: the assistant has nothing to say

        FenetrePrincipale fenetre;
        fenetre.MetAJourMenuPlugIns();
        const QList<QAction*> elements = fenetre.MenuPlugInsAcquisition()->actions();
        QCOMPARE(elements.size(), 1);
        QVERIFY(!elements[0]->isChecked());
        elements[0]->trigger();
        QCOMPARE(QString::fromLatin1(Prefs.NomPlugIn), QStringLiteral("sample.8bs.so"));
        QVERIFY(fenetre.MenuPlugInsAcquisition()->actions()[0]->isChecked());

        // The dialog starts on the chosen plug-in; a scanner row asks for that scanner.
        DialogueAcquisition dialogue({SourceScanner{"test:0", "Maker", "Model", "flatbed scanner"}},
                                     {"sample.8bs.so"});
        QCOMPARE(dialogue.Liste()->currentRow(), 1);
        QCOMPARE(dialogue.Source().plugIn, std::string("sample.8bs.so"));
        dialogue.Liste()->setCurrentRow(0);
        QCOMPARE(dialogue.Source().scanner.source, std::string("test:0"));
        QVERIFY(dialogue.Source().plugIn.empty());

        Document.Chemin = dossier.filePath(QStringLiteral("doc.lfs")).toStdString();
        QStringList proposes;
        fenetre.DonneQuestionNomPage([&proposes](const QString& propose) {
            proposes << propose;
            return propose;
        });
        SourceScan source;
        source.plugIn = "sample.8bs.so";
        QVERIFY(fenetre.ScanneVers(source, 2));
        QTRY_VERIFY_WITH_TIMEOUT(!fenetre.Moteur().Occupe(), 60000);
        QCOMPARE(Document.Pages.size(), size_t{2});
        QCOMPARE(proposes, QStringList({dossier.filePath(QStringLiteral("doc-1.bmp")),
                                        dossier.filePath(QStringLiteral("doc-2.bmp"))}));
        QVERIFY(QFile::exists(dossier.filePath(QStringLiteral("doc-2.bmp"))));
        QCOMPARE(fenetre.findChild<BandePages*>()->count(), 2);
        fenetre.AttendMoteur();  // the page view
    }
};

static EnregistreEssai<EssaiAcquisition> enregistrement;
#include "acquire_test.moc"
