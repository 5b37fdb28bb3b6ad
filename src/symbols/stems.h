// Stems of note heads: the vertical line of the staff that serves a head
// as its stem, its side and length, and the beams it carries.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"
#include "toolbox/rect.h"

// Heads of one chord lie closer than this, in staff interlines.
constexpr float kEcartAccord = 1.5f;

// The far end row of a note's stem.
int BoutDeQueue(const NotePortee& n);

// What a head takes from its stem.
struct QueueTrouvee {
    uint8_t cote = kSansQueue;  // CodeQueue
    uint16_t hauteur = 0;       // rows from the head's row to the stem's far end
    uint16_t divisions = 0;     // beams on the stem
    uint16_t accroche = 0;      // beam group number
};

// The stem of the head at (x, y) on staff `indexPortee`, among the staff's
// vertical lines; the line and its neighbours within half an interline are
// classified with the stem's side. Side 0 when the head has no stem.
QueueTrouvee ChercheQueue(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                          int x, int y);

// The vertical line of `portee` best serving as the stem of a head whose
// zone is `zone` (bottom and right exclusive): the one with the most beams,
// then the longest; a short stroke stopping short of the head is none.
// Sets its side and length; -1 when none. With the staff band `bande`, a
// line stopping short of the zone is followed on through the ink of its
// columns, as a chord's stem runs through the heads nearer its end.
int ChoisitLigneQueue(const ReglagesReconnaissance& reglages, const Portee& portee,
                      const Rect& zone, uint8_t& cote, int& longueur,
                      const VuePixels* bande = nullptr);

// Black and half heads without a stem line of their own take the stem of
// the nearest stemmed head of their chord; those with none are removed when
// a stem is compulsory.
void PartageQueues(const ReglagesReconnaissance& reglages, Portee& portee);
