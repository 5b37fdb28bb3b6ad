// The page's noise score, 0 to 1000: how clean the page is.
#pragma once

#include "image/offscreen.h"

// Isolated pixels (different from all eight neighbours) cost the score; a
// white one in black counts five times a black speck.
int QualiteBruitPage(const PixMap& page);
