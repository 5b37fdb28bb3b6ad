// Drives the desktop program's windows through the steps a user takes and
// saves a picture of each: the main window after recognising a page, an
// area being drawn, the options dialog and the preferences dialog; with a
// PDF, the window after opening it; and the Acquire dialog, with the sample
// plug-in of the build when it is there.
// It also says how long the start-up took, up to the window shown.
// Usage: ruzo_desktop_screenshots PAGE.png OUTPUT_FOLDER [SCORE.pdf]
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QtTest>

#include "acquisition/plugins.h"
#include "acquisition/scanner.h"
#include "desktop/acquire_dialog.h"
#include "desktop/desktop_startup.h"
#include "desktop/engine_job.h"
#include "desktop/main_window.h"
#include "desktop/options_dialog.h"
#include "desktop/page_canvas.h"
#include "desktop/preferences_dialog.h"
#include "desktop/progress_window.h"
#include "document/preferences.h"
#include "records/options.h"

namespace {

void Attend(int ms) {
    QElapsedTimer minuterie;
    minuterie.start();
    while (minuterie.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Sauve(QWidget* fenetre, const QDir& dossier, const QString& nom) {
    Attend(300);
    const QString chemin = dossier.filePath(nom);
    const bool ok = fenetre->grab().save(chemin);
    std::printf("%s: %s\n", ok ? "saved" : "NOT saved", qPrintable(chemin));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer demarrage;
    demarrage.start();
    QApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: ruzo_desktop_screenshots PAGE.png OUTPUT_FOLDER [SCORE.pdf]\n");
        return 2;
    }
    const QDir dossier(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(dossier.path());
    InstallePuitsAlertesBureau();
    if (!DemarrageBureau([] { return false; })) return 3;
    Prefs.ZoomWindows = 0;

    FenetrePrincipale fenetre;
    fenetre.resize(1280, 900);
    fenetre.show();
    QCoreApplication::processEvents();
    std::printf("start-up to the window shown, no document: %lld ms\n",
                static_cast<long long>(demarrage.elapsed()));
    if (!fenetre.Ouvre({QString::fromLocal8Bit(argv[1])})) return 3;
    fenetre.AttendMoteur();
    fenetre.ReconnaitDocumentEntier();
    Attend(500);
    bool ok = Sauve(fenetre.Progression(), dossier, QStringLiteral("progress.png"));
    fenetre.AttendMoteur();
    Attend(300);
    if (fenetre.Progression()->isVisible()) fenetre.Progression()->hide();
    ok = Sauve(&fenetre, dossier, QStringLiteral("main-after-recognition.png")) && ok;

    // An area being drawn: the mouse still held.
    ToilePage* toile = fenetre.Toile();
    const QRectF zone = toile->VersFenetre(Rect{300, 300, 700, 1500});
    QTest::mousePress(toile, Qt::LeftButton, {}, zone.topLeft().toPoint());
    QTest::mouseMove(toile, zone.center().toPoint());
    QTest::mouseMove(toile, zone.bottomRight().toPoint());
    ok = Sauve(&fenetre, dossier, QStringLiteral("area-being-drawn.png")) && ok;
    QTest::mouseRelease(toile, Qt::LeftButton, {}, zone.bottomRight().toPoint());
    ok = Sauve(&fenetre, dossier, QStringLiteral("area-drawn.png")) && ok;

    OptionsReconnaissance options = Options;
    DialogueOptions dialogueOptions(options, &fenetre);
    dialogueOptions.show();
    ok = Sauve(&dialogueOptions, dossier, QStringLiteral("options.png")) && ok;
    dialogueOptions.close();

    Preferences preferences = Prefs;
    DialoguePreferences dialoguePreferences(preferences, &fenetre);
    dialoguePreferences.show();
    ok = Sauve(&dialoguePreferences, dossier, QStringLiteral("preferences.png")) && ok;
    dialoguePreferences.Onglets()->setCurrentIndex(3);
    ok = Sauve(&dialoguePreferences, dossier, QStringLiteral("preferences-colours.png")) && ok;
    dialoguePreferences.close();
    Document.Modifie = false;

    if (argc == 4) {
        if (!fenetre.Ouvre({QString::fromLocal8Bit(argv[3])})) return 3;
        Attend(200);
        ok = Sauve(fenetre.Progression(), dossier, QStringLiteral("pdf-import-progress.png")) && ok;
        fenetre.AttendMoteur();
        fenetre.AttendMoteur();  // the first page's view
        ok = Sauve(&fenetre, dossier, QStringLiteral("pdf-opened.png")) && ok;
        Document.Modifie = false;
    }

    const QString plugIns =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../Plug-ins");
    if (QFileInfo::exists(plugIns)) DefinitDossierPlugIns(plugIns.toStdString());
    std::vector<std::string> nomsPlugIns;
    for (const ElementPlugIn& p : MenuPlugIns()) nomsPlugIns.push_back(p.nom);
    DialogueAcquisition acquisition(ListeSources(), nomsPlugIns, &fenetre);
    acquisition.show();
    ok = Sauve(&acquisition, dossier, QStringLiteral("acquire.png")) && ok;
    return ok ? 0 : 1;
}
