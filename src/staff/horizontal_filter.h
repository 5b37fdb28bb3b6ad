// The horizontal filter of staff detection: only long horizontal black runs
// remain, so that columns show staff lines and little else.
#pragma once

#include <cstdint>

#include "image/offscreen.h"

// One row: a pixel becomes black when it starts `n` black pixels of `source`,
// white otherwise; the last `n` columns become black untested. `source` and
// `destination` are rows of `largeur` pixels, the same row or distinct ones.
void FiltreLigne(const uint8_t* source, uint8_t* destination, int largeur, int n);

// Filters the page in place, row after row; each row needs only itself, so
// no copy of the page is made. False when the user cancels; the page is then
// partly filtered.
bool FiltreHorizontal(Offscreen page, int n);
