// The page recognition driver: runs the fixed sequence of stages over the
// current page bitmap, staff by staff, with progress, cancel and timing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "toolbox/rect.h"

// The stages the driver runs, in the files of their own subsystems. Tests
// replace some of them to drive the driver through its paths.
struct EtapesReconnaissance {
    bool (*RecherchePortees)(EtatPage& etat, const ReglagesReconnaissance& reglages,
                             Offscreen& page);
    bool (*EffaceLignesPortee)(EtatPage& etat, const ReglagesReconnaissance& reglages,
                               int indexPortee, Offscreen bande);
    bool (*RechercheLiaisons)(EtatPage& etat, const ReglagesReconnaissance& reglages);
    bool (*RechercheLignesVert)(EtatPage& etat, const ReglagesReconnaissance& reglages);
    void (*LibereLignesVert)(EtatPage& etat);
    bool (*RechercheAccroches)(EtatPage& etat, const ReglagesReconnaissance& reglages);
    bool (*ExtractionCaracteresProbables)(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                          float interligne);
    int16_t (*TailleCaracteresPortee)(float interligne);
    void (*TraiteArmatureDebutPortee)(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                      int indexPortee, Offscreen bande);
    bool (*TraiteNotes)(EtatPage& etat, const ReglagesReconnaissance& reglages);
    bool (*TraiteTuplets)(EtatPage& etat, const ReglagesReconnaissance& reglages);
    bool (*TraitePointes)(EtatPage& etat, const ReglagesReconnaissance& reglages);
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
// whatever happened. The stages read the run's settings from `reglages`
// only (the program passes those it has loaded, `ReglagesCourants()`).
//
// Neither this nor ReconnaitZone reads a tuning dialog: the program that
// calls them takes the values typed in its dialog (or given on its command
// line) into the settings it passes, on its own thread, for a zone as for a
// page. The engine runs on another thread than the one that owns a dialog.
//
// The staves are recognised on `FilsTravail()` threads (toolbox/work_threads.h).
// With one, one after the other on the calling thread. With more, each
// staff works on a page state of its own and joins the page in staff order,
// numbered, drawn and reported on the calling thread as one thread would
// have done: the records come out the same bytes. A zone (`ReconnaitZone`)
// is always recognised on the calling thread.
bool ReconnaitPage(ListePages& document, EtatPage& etat, const ReglagesReconnaissance& reglages,
                   const std::string& nomPage);

// Only the staves of the current page whose bands meet the rectangle; no
// systems analysis, no progress window.
bool ReconnaitZone(ListePages& document, EtatPage& etat, const ReglagesReconnaissance& reglages,
                   const Rect& zone);

// One staff's stages, its band cut from the pushed working copy.
bool ReconnaitPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                     std::FILE* copieTravail);
