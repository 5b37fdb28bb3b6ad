// The desktop program's Qt tests, run offscreen. Every test class registers
// itself; this runs them all in one application, in a settings home of its
// own, after the interactive start-up (itself tested first).
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop_test_registry.h"
#include "support/ruzo_home.h"

std::vector<FabriqueEssai>& EssaisBureau() {
    static std::vector<FabriqueEssai> essais;
    return essais;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    RuzoHomeEssai home;
    // SANE gets a configuration with no backend: the tests never probe the
    // machine's scanners (slow, and a scanner plugged in would change what
    // "no scanner" means), and no backend is loaded and unloaded behind
    // them, leaving its allocations to the leak checker.
    QTemporaryDir sane;
    QFile sansModule(sane.filePath(QStringLiteral("dll.conf")));
    if (!sansModule.open(QIODevice::WriteOnly)) return 1;
    qputenv("SANE_CONFIG_DIR", sane.path().toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("RuzoTests"));
    QApplication::setApplicationName(QStringLiteral("ruzo-desktop-tests"));
    int echecs = 0;
    for (const FabriqueEssai& fabrique : EssaisBureau()) {
        std::unique_ptr<QObject> essai = fabrique();
        echecs += QTest::qExec(essai.get(), argc, argv);
    }
    return echecs == 0 ? 0 : 1;
}
