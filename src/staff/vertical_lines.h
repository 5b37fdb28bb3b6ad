// Vertical lines of the current staff band: bar lines, stems and any other
// thin tall stroke, in the staff's list `LignesVert`. The list is not
// classified here; later stages set `Type` and the beam counts.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// The stage, on the current staff and its band (after line removal). Fails
// only when the work copy of the band cannot be made.
bool RechercheLignesVert(EtatPage& etat, const ReglagesReconnaissance& reglages);

// Traces a stroke from the black pixel (x, y) upward (dir -1) or downward
// (dir +1) through the bitmap `base`, bridging gaps of
// up to `ecartMax` rows and drifting one column per step. Lowers `gauche`
// to the leftmost column reached, sets `sommeLargeurs` to the sum of the
// run widths met, and returns the last row with a run no wider than
// `largeurMax`.
int SuitLigneVert(const VuePixels& base, int x, int y, int dir, int largeurMax, int ecartMax,
                  int& gauche, int& sommeLargeurs);

// Merges the stroke (column x, rows haut .. haut + longueur) into the first
// line of the staff close to it, or appends it; then erases it from the
// work copy `base`.
bool AjouteLigneVert(const ReglagesReconnaissance& reglages, Portee& portee, const VuePixels& base,
                     int x, int haut, int longueur, int epaisseur);

// Classification by later stages. An index outside the list is reported
// and changes nothing.
void SetTypeLigneVert(Portee& portee, int index, int16_t type);
void SetTypeLignesVertZone(Portee& portee, int xDebut, int xFin, int16_t type);

// Releases the vertical lines of the current staff.
void LibereLignesVert(EtatPage& etat);
