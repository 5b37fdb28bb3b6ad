// Staff positions of points of the current staff band, in half-interlines:
// 0 on the top line, 1 in the first space, negative above the staff. Outside
// the staff the ledger lines are walked on the band as it was before the
// staff lines were removed.
#pragma once

#include "image/offscreen.h"
#include "records/etat_page.h"

// The staff position of (x, y) on staff `indexPortee`. With `lignesSupp`
// set, points more than half an interline outside the staff are placed by
// their ledger lines (read on etat.PorteeImageIntacte); without it, the
// staff lines are simply extended. False when the interline is below 2
// pixels or the ledger walk ends too far from the point.
bool PositionPortee(EtatPage& etat, int indexPortee, int x, int y, int& position, bool lignesSupp);

// The number of thin black columns of the ledger-line stroke through (x, y)
// in `bande`, left and right of x, for an
// interline s. Thick columns (a note head) are crossed but not counted.
int LongueurLigneSupplementaire(const VuePixels& bande, int x, int y, float s);
