// Reading and writing PNG files through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/pixmap.h"

// A decoded picture: 8-bit RGB, rows top first, 3 bytes a pixel.
struct ImageRVB {
    int largeur = 0;
    int hauteur = 0;
    std::vector<uint8_t> rvb;
};

// Reads any PNG (grey, palette, RGB, alpha, 1 to 16 bits) as 8-bit RGB,
// alpha composed over white. Sets `erreur` and returns false on failure;
// pictures wider or taller than `dimensionMax` are refused before decoding.
bool LitPNG(const std::string& chemin, ImageRVB& image, std::string& erreur,
            int dimensionMax = kDimensionMax);

// Writes an indexed pixel map as an RGB PNG through the colour table.
bool EcritPNG(const PixMap& image, const std::string& chemin);
