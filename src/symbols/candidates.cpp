#include "symbols/candidates.h"

#include "recognition/etat_page.h"

bool ExtractionCaracteresProbables(float) {
    ViderTableCaracteres();
    return true;
}

int16_t TailleCaracteresPortee(float interligne) { return static_cast<int16_t>(interligne * 4); }

void ViderTableCaracteres() { Etat.Caracteres = {}; }
