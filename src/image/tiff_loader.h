// TIFF page images, read band by band through the TIFF library's RGBA interface.
#pragma once

#include <string>

#include "image/offscreen.h"
#include "toolbox/pixmap.h"

// "II" followed by 42 stored little-endian, or "MM" followed by 42 big-endian.
bool EstTIFF(const std::string& nom);

// None when the library cannot open or read the file (after an alert when it
// can say why).
Offscreen LoadTiffScanFile(const std::string& nom, int dimensionMax = kDimensionMax);
