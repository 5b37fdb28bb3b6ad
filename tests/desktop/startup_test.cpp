// Interactive start-up: the dirty-exit question, the batch file cleared.
#include <QtTest>
#include <filesystem>

#include "desktop/desktop_startup.h"
#include "desktop/engine_job.h"
#include "desktop_test_registry.h"
#include "shell/exit_routines.h"
#include "support/ruzo_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

class EssaiDemarrage : public QObject {
    Q_OBJECT
  private slots:
    void MarqueurDemandeUneFoisEtLotEfface() {
        QVERIFY(PrepareDossiersPreferences());
        const std::string marqueur = FichierPreferences("RuzoCrsh.txt");
        const std::string lot = FichierPreferences("PirlScan.cmd");
        RuzoHomeEssai::EcritFichier(marqueur, "left by a killed run");
        RuzoHomeEssai::EcritFichier(lot, "pending entry");
        int questions = 0;
        QVERIFY(DemarrageBureau([&] {
            ++questions;
            return false;
        }));
        QCOMPARE(questions, 1);
        QVERIFY(!std::filesystem::exists(lot));
        QVERIFY(std::filesystem::exists(marqueur));  // this session's own
        ArretBureau();
        QVERIFY(!std::filesystem::exists(marqueur));
        // The suite runs on in a started engine, alerts kept for the tests.
        QVERIFY(DemarrageBureau([&] { return ++questions > 0; }));
        QCOMPARE(questions, 1);
        InstallePuitsAlertesBureau();
    }
};

static EnregistreEssai<EssaiDemarrage> enregistrement(true);
#include "startup_test.moc"
