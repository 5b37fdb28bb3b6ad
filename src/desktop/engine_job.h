// Work on the engine off the GUI thread. The engine keeps its page state in
// globals, so one job runs at a time and the GUI touches engine state only
// while no job runs (`Occupe()` is false). Alerts raised during a job are
// kept and handed to the GUI when it ends.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QThread;

class TacheMoteur : public QObject {
    Q_OBJECT
  public:
    explicit TacheMoteur(QObject* parent = nullptr);
    ~TacheMoteur() override;

    bool Occupe() const { return fil_ != nullptr; }
    // Starts `travail` on the worker thread; false (nothing started) while
    // another job runs. `fin` runs on the GUI thread with the job's result
    // and the alerts it raised.
    bool Lance(std::function<bool()> travail, std::function<void(bool, const QStringList&)> fin);
    // Waits for the running job, if any (used at exit and by tests).
    void Attend();

  signals:
    void Termine();

  private:
    QThread* fil_ = nullptr;
};

// Collects the engine's alerts of the GUI thread and of the jobs; the
// desktop shows them in message boxes rather than on stderr.
void InstallePuitsAlertesBureau();
QStringList PrendAlertes();
