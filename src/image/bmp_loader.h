// Windows bitmap page images: 1, 4, 8 and 24 bits a pixel, uncompressed or
// RLE8, rows stored bottom-up or top-down.
#pragma once

#include <string>

#include "image/offscreen.h"
#include "toolbox/pixmap.h"

// The first two bytes are "B" and "M".
bool EstBMP(const std::string& nom);

// None, after an alert saying why, when the file cannot be read.
Offscreen ChargeBMP(const std::string& nom, int dimensionMax = kDimensionMax);
