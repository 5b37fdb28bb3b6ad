// The WAV files are built into the program's resources.
#include "desktop/sounds.h"

#include "document/preferences.h"

#ifdef RUZO_SONS
#include <QSoundEffect>
#endif

Sons::Sons(QObject* parent) : QObject(parent) {}

void Sons::Fin(bool reussie) {
    if (!Prefs.AutoriseSons) return;
#ifdef RUZO_SONS
    QSoundEffect*& effet = reussie ? reussite_ : echec_;
    if (effet == nullptr) {
        effet = new QSoundEffect(this);
        effet->setSource(QUrl(reussie ? QStringLiteral("qrc:/ruzo/sounds/done.wav")
                                      : QStringLiteral("qrc:/ruzo/sounds/failed.wav")));
    }
    effet->play();
#else
    (void)reussie;
#endif
}
