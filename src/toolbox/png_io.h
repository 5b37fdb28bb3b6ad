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

// Where a row-by-row read puts the picture: told its size once the header
// is read (false refuses it), then given each row of 8-bit RGB, top row
// first (false stops the read). A destination that takes grey rows is given
// those of a grey picture without transparency as they are, one byte a
// pixel, through `LigneGrise`: the same levels, not spread over three.
class DestinationPNG {
  public:
    virtual ~DestinationPNG() = default;
    virtual bool Dimensions(int largeur, int hauteur) = 0;
    virtual bool Ligne(const uint8_t* rvb) = 0;
    virtual bool PrendGris() const { return false; }
    virtual bool LigneGrise(const uint8_t* /*gris*/) { return false; }
};

// Reads a PNG as `LitPNG` does, one row at a time, so that memory grows only
// with the rows decoded. An interlaced picture is decoded whole first (its
// passes revisit every row). A file too short to hold the rows its header
// announces, even at the best compression, is refused before any is decoded.
bool LitPNGParLignes(const std::string& chemin, DestinationPNG& destination, std::string& erreur,
                     int dimensionMax = kDimensionMax);

// Writes an indexed pixel map as an RGB PNG through the colour table.
bool EcritPNG(const PixMap& image, const std::string& chemin);
