// JPEG page images (photographs of pages, camera scans).
#pragma once

#include <string>

#include "image/offscreen.h"
#include "toolbox/pixmap.h"

// The start-of-image marker followed by another marker.
bool EstJPEG(const std::string& nom);

// None, after an alert, when the file cannot be decoded.
Offscreen ChargeJPEG(const std::string& nom, int dimensionMax = kDimensionMax);
