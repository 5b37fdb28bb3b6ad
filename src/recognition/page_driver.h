// The page recognition driver: runs the fixed sequence of stages over the
// current page bitmap, staff by staff, with progress, cancel and timing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/page_entry.h"
#include "toolbox/rect.h"

// The stages the driver runs, in the files of their own subsystems. Tests
// replace some of them to drive the driver through its paths.
struct EtapesReconnaissance {
    bool (*RecherchePortees)(EtatPage& etat, Offscreen& page);
    bool (*EffaceLignesPortee)(EtatPage& etat, int indexPortee, Offscreen bande);
    bool (*RechercheLiaisons)(EtatPage& etat);
    bool (*RechercheLignesVert)(EtatPage& etat);
    void (*LibereLignesVert)(EtatPage& etat);
    bool (*RechercheAccroches)(EtatPage& etat);
    bool (*ExtractionCaracteresProbables)(EtatPage& etat, float interligne);
    int16_t (*TailleCaracteresPortee)(float interligne);
    void (*TraiteArmatureDebutPortee)(EtatPage& etat, int indexPortee, Offscreen bande);
    bool (*TraiteNotes)(EtatPage& etat);
    bool (*TraiteTuplets)(EtatPage& etat);
    bool (*TraitePointes)(EtatPage& etat);
    bool (*TraiteEffets)(EtatPage& etat);
    void (*ViderTableCaracteres)(EtatPage& etat);
    bool (*DoAnalyseSystemes)(EtatPage& etat, Offscreen page);
    bool (*AnalyseMesures)(EtatPage& etat);
};

EtapesReconnaissance EtapesParDefaut();
extern EtapesReconnaissance Etapes;

// The per-page pipeline on the document's current page bitmap
// (`document.ImagePage`, with the current page's command areas), into
// `etat`. The page takes the document's running numbers of notes and ties
// and gives them back. On return the page bitmap is the page as loaded,
// whatever happened.
//
// Both this and ReconnaitZone read the tuning values from Reglage as they
// stand: the program that calls them takes the values typed in its tuning
// dialog (or given on its command line) into Reglage first, on its own
// thread, for a zone as for a page. The engine cannot read a dialog, and
// runs on another thread than the one that owns it.
bool ReconnaitPage(ListePages& document, EtatPage& etat, const std::string& nomPage);

// Only the staves of the current page whose bands meet the rectangle; no
// systems analysis, no progress window.
bool ReconnaitZone(ListePages& document, EtatPage& etat, const Rect& zone);

// One staff's stages, its band cut from the pushed working copy.
bool ReconnaitPortee(EtatPage& etat, int indexPortee, std::FILE* copieTravail);

// The symbol stages of the current staff, after vertical lines.
bool ReconnaitSymbolesPortee(EtatPage& etat);
