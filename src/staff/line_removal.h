// Staff-line removal on a staff band.
//
// Line pixels are first painted red, so that the continuity test of the
// columns further right sees where the line has already been taken away;
// a last pass turns everything that is not black into white.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"

// The stage, on the band of staff `indexPortee`. Returns false when the user
// cancelled during the last pass.
bool EffaceLignesPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                        Offscreen bande);

// Paints red the line pixels of the column-x run through (x, y), unless the
// black there is a short isolated piece or a symbol crossing the line.
// `interligne` is the staff's interline at x; `supplementaire` when y is a
// ledger position, where the line may be drawn thicker.
bool EffacePointLigne(EtatPage& etat, const VuePixels& base, int x, int y, float interligne,
                      bool supplementaire = false);
