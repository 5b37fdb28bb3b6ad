// Page scores of 0 to 1000: how clean the page is and how straight its
// staves are.
#pragma once

#include "image/offscreen.h"

// Isolated pixels (different from all eight neighbours) cost the score; a
// white one in black counts five times a black speck.
int QualiteBruitPage(const PixMap& page);
// Worst skew and worst curvature of the staves' top lines; 0 with no staff.
int QualiteGeometriePage();
