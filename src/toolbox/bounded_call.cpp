#include "toolbox/bounded_call.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Shared by the waiting thread and the call's thread, whichever ends last.
struct EtatAppel {
    std::mutex verrou;
    std::condition_variable fini;
    bool termine = false;
};

}  // namespace

bool AppelBorne(std::function<void()> appel, std::chrono::milliseconds delai) {
    auto etat = std::make_shared<EtatAppel>();
    std::thread([etat, appel = std::move(appel)] {
        appel();
        std::lock_guard<std::mutex> garde(etat->verrou);
        etat->termine = true;
        etat->fini.notify_all();
    }).detach();
    std::unique_lock<std::mutex> attente(etat->verrou);
    return etat->fini.wait_for(attente, delai, [&] { return etat->termine; });
}
