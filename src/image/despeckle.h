// Removal of small specks and holes.
#pragma once

#include <cstdint>

#include "image/offscreen.h"

// Size of the 8-connected component of colour `couleur` through (x, y), added
// to `compte` and counted only up to `limite` + 1; pixels outside the bounds
// or of another colour count nothing. The bitmap is left as it was.
int CompteComposante(const VuePixels& base, int x, int y, int compte, int limite, uint8_t couleur);

// In reading order, every component of at most `niveau` pixels is filled: a
// black speck with white, a hole of any other colour with black.
void Depoussiere(Offscreen o, int niveau);
