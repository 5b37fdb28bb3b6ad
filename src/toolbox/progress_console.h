// The progress window of the command line: one self-updating line on a
// terminal, plain lines otherwise, nothing when quiet. Ctrl-C (or SIGTERM,
// SIGHUP) asks to cancel; a second one ends the program.
#pragma once

#include <cstdio>

#include "toolbox/progress.h"

class ProgressionConsole : public Progression {
  public:
    explicit ProgressionConsole(bool silencieux, std::FILE* sortie = stderr);
    ~ProgressionConsole() override;

    void Ouvre(int nbPages, const std::string& titre) override;
    void Etape(int numero) override;
    void Pourcentage(int pourcent) override;
    void AjouteTempsPage(uint32_t ticks) override;
    void Avertissement(const std::string& texte) override;
    void Ferme() override;

  private:
    void Affiche();

    bool silencieux_;
    bool terminal_;
    std::FILE* sortie_;
    int nbPages_ = 0;
    int etape_ = 0;
    int pourcent_ = 0;
    uint32_t ticksTotal_ = 0;
    int pagesChronometrees_ = 0;
    bool ligneOuverte_ = false;
};

// Installs the handler of Ctrl-C, SIGTERM and SIGHUP that sets the cancel
// flag.
void InstalleInterruptionConsole();

// From a signal handler (async-signal-safe): cancels, and stays so for the
// rest of the process, whatever command starts next (defined with the
// cancel flag).
void DemandeAnnulationSignal();
