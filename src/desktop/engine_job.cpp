// A job is a QThread made from a function; its end is delivered to the GUI
// thread through a queued call so that `fin` may touch widgets and the
// engine again.
#include "desktop/engine_job.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include "toolbox/messages.h"

namespace {

QMutex verrouAlertes;
QStringList alertes;

}  // namespace

void InstallePuitsAlertesBureau() {
    DefinitPuitsAlertes([](const std::string& texte) {
        QMutexLocker verrou(&verrouAlertes);
        alertes << QString::fromStdString(texte);
    });
}

QStringList PrendAlertes() {
    QMutexLocker verrou(&verrouAlertes);
    QStringList prises;
    prises.swap(alertes);
    return prises;
}

TacheMoteur::TacheMoteur(QObject* parent) : QObject(parent) {}

TacheMoteur::~TacheMoteur() {
    if (fil_ == nullptr) return;
    fil_->disconnect(this);
    fil_->wait();
    delete fil_;
}

bool TacheMoteur::Lance(std::function<bool()> travail,
                        std::function<void(bool, const QStringList&)> fin) {
    if (fil_ != nullptr) return false;
    auto resultat = std::make_shared<bool>(false);
    fil_ = QThread::create([travail = std::move(travail), resultat] { *resultat = travail(); });
    QThread* fil = fil_;
    connect(fil_, &QThread::finished, this, [this, fil, fin = std::move(fin), resultat] {
        if (fil_ != fil) return;
        fil->deleteLater();
        fil_ = nullptr;
        if (fin) fin(*resultat, PrendAlertes());
        emit Termine();
    });
    fil_->start();
    return true;
}

void TacheMoteur::Attend() {
    if (fil_ == nullptr) return;
    fil_->wait();
    // The end is queued to this object: deliver it now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
