// `ruzo-desktop`: a second start hands its files to the first and exits;
// the first starts the engine interactively, shows the splash screen when
// the preferences ask for it, opens the files given or the last document,
// and runs the window until it is closed.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSplashScreen>

#include "desktop/about_box.h"
#include "desktop/desktop_startup.h"
#include "desktop/engine_job.h"
#include "desktop/main_window.h"
#include "desktop/single_instance.h"
#include "document/last_document.h"
#include "document/preferences.h"
#include "toolbox/system.h"
#include "toolbox/work_threads.h"

namespace {

constexpr int kEntreeInvalide = 3;

bool OublierReglages() {
    return QMessageBox::question(
               nullptr, QStringLiteral("Ruzo"),
               QObject::tr("Ruzo did not end normally last time. Forget the settings that "
                           "could be at fault (language, recent files, last document)?")) ==
           QMessageBox::Yes;
}

QString DernierDocumentAOuvrir() {
    if (!Prefs.ChargerDernierDocument) return {};
    DernierDocument dernier;
    if (!LitDernierDocument(FichierDernierDocument(), dernier)) return {};
    const QString chemin = QString::fromStdString(dernier.Chemin);
    return QFileInfo::exists(chemin) ? chemin : QString();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ruzo"));
    QApplication::setApplicationName(QStringLiteral("ruzo-desktop"));
    QApplication::setApplicationVersion(QStringLiteral(RUZO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ruzo/icons/ruzo.png")));
    const QStringList fichiers = application.arguments().mid(1);

    InstanceUnique instance(InstanceUnique::NomParDefaut());
    if (instance.ConfieAuPremier(fichiers)) return 0;
    instance.DevientPremier();

    InstallePuitsAlertesBureau();
    if (!DemarrageBureau(OublierReglages)) {
        QMessageBox::critical(nullptr, QStringLiteral("Ruzo"),
                              PrendAlertes().join(QLatin1Char('\n')));
        return kEntreeInvalide;
    }
    // A page's staves and the passes over the whole page use every core, as
    // they do on the command line.
    DefinitFilsTravail(CoeursDisponibles());
    QSplashScreen* accueil = Prefs.SplashScreen ? MontreEcranAccueil() : nullptr;

    FenetrePrincipale fenetre;
    QObject::connect(&instance, &InstanceUnique::FichiersRecus, &fenetre,
                     [&fenetre](const QStringList& recus) {
                         fenetre.raise();
                         fenetre.activateWindow();
                         if (!recus.isEmpty()) fenetre.Ouvre(recus);
                     });
    if (Prefs.ZoomWindows)
        fenetre.showMaximized();
    else
        fenetre.show();
    if (accueil) {
        accueil->finish(&fenetre);
        accueil->deleteLater();
    }
    const QString dernier = fichiers.isEmpty() ? DernierDocumentAOuvrir() : QString();
    if (!fichiers.isEmpty())
        fenetre.Ouvre(fichiers);
    else if (!dernier.isEmpty())
        fenetre.Ouvre({dernier});

    const int code = application.exec();
    ArretBureau();
    return code;
}
