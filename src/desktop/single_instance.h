// One desktop program per user: a second start hands its files to the
// first through a local socket named after the application, and exits.
#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

class InstanceUnique : public QObject {
    Q_OBJECT
  public:
    explicit InstanceUnique(const QString& nom, QObject* parent = nullptr);

    // True when another instance took the files (this one should exit).
    bool ConfieAuPremier(const QStringList& fichiers);
    // Becomes the first instance; false when the socket cannot be made.
    bool DevientPremier();

    static QString NomParDefaut();

  signals:
    // Files handed over by a later start (possibly none: just come forward).
    void FichiersRecus(const QStringList& fichiers);

  private:
    void LitConnexion();

    QString nom_;
    QLocalServer* serveur_ = nullptr;
};
