// The progress window fed from a worker thread, and Cancel reaching the
// engine's cancel test.
#include "toolbox/progress.h"

#include <QLabel>
#include <QtTest>

#include "desktop/engine_job.h"
#include "desktop/progress_window.h"
#include "desktop_test_registry.h"

class EssaiProgression : public QObject {
    Q_OBJECT
  private slots:
    void RapportsDuFilEtAnnulation() {
        FenetreProgression fenetre;
        ProgressionBureau progression(&fenetre);
        TacheMoteur moteur;
        fenetre.Demarre(QStringLiteral("test"));
        bool fini = false, reussi = false;
        QVERIFY(moteur.Lance(
            [&progression] {
                progression.Ouvre(3, "doc");
                progression.Etape(1);
                progression.Pourcentage(40);
                progression.AjouteTempsPage(600);  // 10 s a page, 2 pages left
                progression.Avertissement("a warning");
                return true;
            },
            [&](bool ok, const QStringList&) {
                fini = true;
                reussi = ok;
            }));
        QVERIFY(!moteur.Lance([] { return true; }, nullptr));  // one job at a time
        moteur.Attend();
        QCoreApplication::processEvents();
        QVERIFY(fini && reussi);
        QCOMPARE(fenetre.Pourcent(), 40);
        QVERIFY(fenetre.TexteTempsRestant().contains(QStringLiteral("0:20")));
        QCOMPARE(fenetre.Avertissements(), QStringList{QStringLiteral("a warning")});
        fenetre.Fin();
        QVERIFY(fenetre.isVisible());  // "Ok" after warnings
        fenetre.reject();
        QVERIFY(!fenetre.isVisible());

        // Cancel: the job waits for the cancel test to answer.
        fenetre.Demarre(QStringLiteral("cancel"));
        QVERIFY(moteur.Lance(
            [] {
                for (int i = 0; i < 500; ++i) {
                    if (TestAnnulation()) return true;
                    QThread::msleep(10);
                }
                return false;
            },
            [&](bool ok, const QStringList&) { reussi = ok; }));
        fenetre.reject();              // the Cancel button
        QVERIFY(fenetre.isVisible());  // until the job has stopped
        moteur.Attend();
        QVERIFY(reussi);
        fenetre.Fin();
        QVERIFY(!fenetre.isVisible());
        EffaceAnnulation();
    }
};

static EnregistreEssai<EssaiProgression> enregistrement;
#include "progress_test.moc"
