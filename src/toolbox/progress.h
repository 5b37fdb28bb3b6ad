// The progress window and the cancel test.
//
// Recognition reports its progress through one `Progression`: a stage label,
// a percentage, page times (from which the remaining time is estimated) and
// warning lines. The cancel flag is set by the progress window's control (the
// console's Ctrl-C) and stays set until the next recognition command clears it.
#pragma once

#include <cstdint>
#include <string>

class Progression {
  public:
    virtual ~Progression() = default;
    virtual void Ouvre(int nbPages, const std::string& titre) = 0;
    virtual void Etape(int numero) = 0;  // stage label of the language table
    virtual void Pourcentage(int pourcent) = 0;
    virtual void AjouteTempsPage(uint32_t ticks) = 0;
    virtual void Avertissement(const std::string& texte) = 0;
    virtual void Ferme() = 0;
    // Handles the window's pending events (which may set the cancel flag).
    virtual void TraiteEvenements() {}
};

// A progress window that shows nothing.
class ProgressionMuette : public Progression {
  public:
    void Ouvre(int, const std::string&) override {}
    void Etape(int) override {}
    void Pourcentage(int) override {}
    void AjouteTempsPage(uint32_t) override {}
    void Avertissement(const std::string&) override {}
    void Ferme() override {}
};

// The progress window recognition reports to; a silent one unless set.
Progression& ProgressionCourante();
void DefinitProgression(Progression* progression);  // nullptr: back to silent

// The cancel test of the stages: handles the progress window's events, then
// answers whether the user asked to stop.
bool TestAnnulation();
void DemandeAnnulation();
void EffaceAnnulation();

// Remaining time of a document: page count x mean ticks per timed page
// (1200 ticks when none is timed yet), in seconds, formatted "%d:%02d".
std::string TempsRestant(int nbPages, uint32_t ticksTotal, int pagesChronometrees);
