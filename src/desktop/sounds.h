// The sounds of the desktop program: one when a recognition ends well, one
// when it fails. Played only when the preferences allow sounds, and only
// when the program was built with Qt Multimedia.
#pragma once

#include <QObject>

class QSoundEffect;

class Sons : public QObject {
    Q_OBJECT
  public:
    explicit Sons(QObject* parent = nullptr);
    void Fin(bool reussie);

  private:
    QSoundEffect* reussite_ = nullptr;
    QSoundEffect* echec_ = nullptr;
};
