// PNG page images, the usual output of today's scanners and image programs.
#pragma once

#include <string>

#include "image/offscreen.h"
#include "toolbox/pixmap.h"

// The eight-byte PNG signature.
bool EstPNG(const std::string& nom);

// None, after an alert, when the file cannot be decoded.
Offscreen ChargePNG(const std::string& nom, int dimensionMax = kDimensionMax);
