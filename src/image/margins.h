// Removal of the dark margins a scanner leaves around a page. Margin pixels
// take the light-yellow index: no longer ink for recognition, still visible.
#pragma once

#include <cstdint>

#include "image/offscreen.h"

// Black pixels among the n pixels from (x, y) in steps of (dx, dy), in per
// mille (integer division); 0 when n is not positive.
int ProportionNoire(const VuePixels& base, int x, int y, int dx, int dy, int n);

// Along the same kind of line, every black pixel takes the light-yellow index.
void MarqueMarge(const VuePixels& base, int x, int y, int dx, int dy, int n);

// Columns more than 800 per mille black, then dark rows from the top (through
// up to 21 rows that are not dark, stopping at an empty row), then dark rows
// from the bottom.
void SupprimeMarges(Offscreen o);
