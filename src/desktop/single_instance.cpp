// The message is the file paths, absolute, one per line, in UTF-8. A socket
// left by a crashed first instance is removed before listening.
#include "desktop/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kDelaiMs = 1000;

}  // namespace

InstanceUnique::InstanceUnique(const QString& nom, QObject* parent) : QObject(parent), nom_(nom) {}

// One per user and settings home, so that a run with its own RUZO_HOME (a
// test, a script) is a session of its own.
QString InstanceUnique::NomParDefaut() {
    const QString home = qEnvironmentVariable("RUZO_HOME", QDir::homePath());
    return QStringLiteral("ruzo-desktop-%1-%2")
        .arg(qEnvironmentVariable("USER", QStringLiteral("user")))
        .arg(qHash(home), 0, 16);
}

bool InstanceUnique::ConfieAuPremier(const QStringList& fichiers) {
    QLocalSocket socket;
    socket.connectToServer(nom_);
    if (!socket.waitForConnected(kDelaiMs)) return false;
    QStringList absolus;
    for (const QString& f : fichiers) absolus << QFileInfo(f).absoluteFilePath();
    socket.write(absolus.join(QLatin1Char('\n')).toUtf8());
    socket.write("\n\n");
    socket.waitForBytesWritten(kDelaiMs);
    socket.disconnectFromServer();
    return true;
}

bool InstanceUnique::DevientPremier() {
    serveur_ = new QLocalServer(this);
    serveur_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!serveur_->listen(nom_)) {
        QLocalServer::removeServer(nom_);
        if (!serveur_->listen(nom_)) return false;
    }
    connect(serveur_, &QLocalServer::newConnection, this, &InstanceUnique::LitConnexion);
    return true;
}

void InstanceUnique::LitConnexion() {
    while (QLocalSocket* socket = serveur_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto recu = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, recu] {
            recu->append(socket->readAll());
            if (!recu->endsWith("\n\n")) return;
            QStringList fichiers;
            for (const QByteArray& ligne : recu->split('\n'))
                if (!ligne.isEmpty()) fichiers << QString::fromUtf8(ligne);
            recu->clear();
            emit FichiersRecus(fichiers);
        });
    }
}
