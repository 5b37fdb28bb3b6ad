// A second start hands its files to the first through the local socket;
// with no first, it says so at once.
#include "desktop/single_instance.h"

#include <QtTest>

#include "desktop_test_registry.h"

class EssaiInstance : public QObject {
    Q_OBJECT
  private slots:
    void LeSecondConfieSesFichiersAuPremier() {
        const QString nom =
            QStringLiteral("ruzo-desktop-test-%1").arg(QCoreApplication::applicationPid());
        InstanceUnique seul(nom);
        QVERIFY(!seul.ConfieAuPremier({QStringLiteral("a.lfs")}));

        InstanceUnique premier(nom);
        QVERIFY(premier.DevientPremier());
        QSignalSpy recus(&premier, &InstanceUnique::FichiersRecus);
        InstanceUnique second(nom);
        QVERIFY(
            second.ConfieAuPremier({QStringLiteral("/tmp/une page.png"), QStringLiteral("b.lfs")}));
        QVERIFY(recus.wait(3000));
        const QStringList fichiers = recus.at(0).at(0).toStringList();
        QCOMPARE(fichiers.size(), 2);
        QCOMPARE(fichiers[0], QStringLiteral("/tmp/une page.png"));
        QVERIFY(fichiers[1].endsWith(QStringLiteral("/b.lfs")));  // made absolute
    }
};

static EnregistreEssai<EssaiInstance> enregistrement;
#include "single_instance_test.moc"
