// The page recognition driver: runs the fixed sequence of stages over the
// current page bitmap, staff by staff, with progress, cancel and timing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/offscreen.h"
#include "toolbox/rect.h"

// The stages the driver runs, in the files of their own subsystems. Tests
// replace some of them to drive the driver through its paths.
struct EtapesReconnaissance {
    bool (*RecherchePortees)(Offscreen& page);
    bool (*EffaceLignesPortee)(int indexPortee, Offscreen bande);
    bool (*RechercheLiaisons)();
    bool (*RechercheLignesVert)();
    void (*LibereLignesVert)();
    bool (*RechercheAccroches)();
    bool (*ExtractionCaracteresProbables)(float interligne);
    int16_t (*TailleCaracteresPortee)(float interligne);
    void (*TraiteArmatureDebutPortee)(int indexPortee, Offscreen bande);
    bool (*TraiteNotes)();
    bool (*TraiteTuplets)();
    bool (*TraitePointes)();
    bool (*TraiteEffets)();
    void (*ViderTableCaracteres)();
    bool (*DoAnalyseSystemes)();
    bool (*AnalyseMesures)();
};

EtapesReconnaissance EtapesParDefaut();
extern EtapesReconnaissance Etapes;

// The per-page pipeline on the current page bitmap (Document.ImagePage).
// On return the page bitmap is the page as loaded, whatever happened.
bool ReconnaitPage(const std::string& nomPage);

// Only the staves of the current page whose bands meet the rectangle; no
// systems analysis, no progress window.
bool ReconnaitZone(const Rect& zone);

// One staff's stages, its band cut from the pushed working copy.
bool ReconnaitPortee(int indexPortee, std::FILE* copieTravail);

// The symbol stages of the current staff, after vertical lines.
bool ReconnaitSymbolesPortee();
