#include "toolbox/progress.h"

#include <csignal>
#include <cstdio>

#include "toolbox/messages.h"
#include "toolbox/progress_console.h"

namespace {

ProgressionMuette progressionMuette;
Progression* progression = nullptr;
volatile std::sig_atomic_t annulation = 0;
// A signal asks the whole process to stop: no new command clears it.
volatile std::sig_atomic_t signalRecu = 0;

}  // namespace

Progression& ProgressionCourante() {
    return progression ? *progression : progressionMuette;
}

void DefinitProgression(Progression* p) {
    progression = p;
}

bool TestAnnulation() {
    ProgressionCourante().TraiteEvenements();
    return annulation != 0;
}

void DemandeAnnulation() {
    if (annulation == 0) Trace("%s", MessageStatut(7).c_str());
    annulation = 1;
}

void EffaceAnnulation() {
    annulation = signalRecu;
}

void DemandeAnnulationSignal() {
    signalRecu = 1;
    annulation = 1;
}

std::string TempsRestant(int nbPages, uint32_t ticksTotal, int pagesChronometrees) {
    const uint32_t moyenne = pagesChronometrees > 0 ? ticksTotal / pagesChronometrees : 1200;
    const long secondes = static_cast<long>(nbPages) * moyenne / 60;
    char texte[32];
    std::snprintf(texte, sizeof texte, "%d:%02d", static_cast<int>(secondes / 60),
                  static_cast<int>(secondes % 60));
    return texte;
}
