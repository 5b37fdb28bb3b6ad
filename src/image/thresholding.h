// Reduction of a page to pure black and white.
#pragma once

#include <cstdint>

#include "image/offscreen.h"

// Threshold applied before recognition to pages not thresholded at load: a
// pixel whose mean component is below 32512 of 65535 becomes black.
constexpr int32_t kSeuilParDefaut = 97536;

// Every pixel that is not white becomes black when the sum of the three
// 16-bit components of its colour is below `seuil`, white otherwise.
void Seuillage(Offscreen o, int32_t seuil);

// Share of dark pixels in per cent: a pixel is dark when (2 x red + green) /
// 768 of its colour is below 128. 0.0 for an empty image.
float PourcentageSombre(Offscreen o);
