// Source colours to colour-table indices, the one conversion every loader
// uses: 8-bit components are widened by x 256 and the nearest table colour is
// taken. The nearest-colour search is slow, so answers are remembered.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "image/offscreen.h"

class ConvertisseurCouleurs {
  public:
    ConvertisseurCouleurs();
    uint8_t Index(uint8_t rouge, uint8_t vert, uint8_t bleu);
    uint8_t Gris(uint8_t niveau) const { return gris_[niveau]; }  // Index(niveau, niveau, niveau)

  private:
    std::array<uint8_t, 256> gris_{};  // r = g = b, the common case of scans
    std::unordered_map<uint32_t, uint8_t> couleurs_;
};

// The index of an 8-bit colour: components x 256 to the nearest table colour.
uint8_t IndexDeRVB(uint8_t rouge, uint8_t vert, uint8_t bleu);

// Refuses sizes that cannot make a page bitmap (bounds are signed 16-bit),
// with the text the user sees. `format` names the file kind in the message.
bool TailleImageAcceptable(const char* format, long largeur, long hauteur, int dimensionMax);
