// The horizontal filter of staff detection: only long horizontal black runs
// remain, so that columns show staff lines and little else.
#pragma once

#include <cstdint>

#include "image/offscreen.h"

// One row: a pixel becomes black when it starts `n` black pixels of `source`,
// white otherwise; the last `n` columns become black untested. `source` and
// `destination` are distinct rows of `largeur` pixels.
void FiltreLigne(const uint8_t* source, uint8_t* destination, int largeur, int n);

// Filters the page in place, row after row, reading only unfiltered pixels:
// from an in-memory duplicate when `memoireLibre` exceeds the page size,
// otherwise through a temporary file. False when neither is possible or the
// user cancels; the page is then partly filtered or not at all.
bool FiltreHorizontal(Offscreen page, int n, int64_t memoireLibre);
