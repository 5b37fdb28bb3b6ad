#include "toolbox/progress_console.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "toolbox/messages.h"

namespace {

volatile std::sig_atomic_t interruptions = 0;

// The first signal cancels: the run stops at its next cancel test, drops
// its fresh files and says "interrupted". A second one ends the program at
// once (the next run sweeps what it left).
void SurInterruption(int) {
    interruptions = interruptions + 1;
    if (interruptions >= 2) std::_Exit(130);
    DemandeAnnulationSignal();
}

}  // namespace

void InstalleInterruptionConsole() {
    struct sigaction action {};
    action.sa_handler = SurInterruption;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

ProgressionConsole::ProgressionConsole(bool silencieux, std::FILE* sortie)
    : silencieux_(silencieux), terminal_(isatty(fileno(sortie)) != 0), sortie_(sortie) {}

ProgressionConsole::~ProgressionConsole() {
    if (ligneOuverte_) std::fputc('\n', sortie_);
}

void ProgressionConsole::Ouvre(int nbPages, const std::string& titre) {
    if (nbPages > 0) nbPages_ = nbPages;
    if (silencieux_ || titre.empty()) return;
    if (!terminal_) std::fprintf(sortie_, "%s\n", titre.c_str());
}

void ProgressionConsole::Etape(int numero) {
    etape_ = numero;
    pourcent_ = 0;
    if (!terminal_ && !silencieux_) std::fprintf(sortie_, "%s\n", LibelleEtape(numero).c_str());
    Affiche();
}

void ProgressionConsole::Pourcentage(int pourcent) {
    pourcent_ = pourcent;
    Affiche();
}

void ProgressionConsole::AjouteTempsPage(uint32_t ticks) {
    ticksTotal_ += ticks;
    ++pagesChronometrees_;
    if (nbPages_ > 0) --nbPages_;
    Affiche();
}

void ProgressionConsole::Avertissement(const std::string& texte) {
    if (silencieux_) return;
    if (ligneOuverte_) std::fputc('\n', sortie_);
    ligneOuverte_ = false;
    std::fprintf(sortie_, TexteLangue("warning: %s\n"), texte.c_str());
}

void ProgressionConsole::Ferme() {
    if (ligneOuverte_) std::fputc('\n', sortie_);
    ligneOuverte_ = false;
}

void ProgressionConsole::Affiche() {
    if (silencieux_ || !terminal_) return;
    std::fprintf(sortie_, "\r\033[K%-28s %3d%%", LibelleEtape(etape_).c_str(), pourcent_);
    if (pagesChronometrees_ > 0 && nbPages_ > 0)
        std::fprintf(sortie_, TexteLangue("  %s left"),
                     TempsRestant(nbPages_, ticksTotal_, pagesChronometrees_).c_str());
    std::fflush(sortie_);
    ligneOuverte_ = true;
}
