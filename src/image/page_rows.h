// A page bitmap filled row by row, top row first, while a file is decoded.
//
// A short or damaged file can claim a huge page. Its page must not cost the
// memory of that page before the data turns out to be missing, so the rows
// are kept in one block reserved for the whole page but written, and so
// taken from the system, only as each row is decoded. When the last row is
// in, the block becomes the page bitmap as it is, without a second copy.
#pragma once

#include <cstdint>
#include <vector>

#include "image/colour_conversion.h"
#include "image/offscreen.h"

class LignesPage {
  public:
    // False when the size is out of range or the block cannot be reserved.
    bool Reserve(int largeur, int hauteur);

    int Largeur() const { return largeur_; }
    int LignesRecues() const { return recues_; }

    // The next row, `Largeur()` bytes erased to white; none once every row
    // is in.
    uint8_t* NouvelleLigne();
    // The next row from 8-bit RGB, 3 bytes a pixel.
    bool AjouteLigneRVB(const uint8_t* rvb);
    // The next row from 8-bit grey, 1 byte a pixel: as the RGB row of the
    // same levels.
    bool AjouteLigneGrise(const uint8_t* gris);

    // The page once every row is in; none otherwise.
    Offscreen Termine();

  private:
    int largeur_ = 0;
    int hauteur_ = 0;
    int pasLigne_ = 0;
    int recues_ = 0;
    OctetsPixels pixels_;
    ConvertisseurCouleurs conversion_;
};
