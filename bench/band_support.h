// A full-width staff band for the per-staff benchmarks: 2480 columns (a
// 300 dpi page), a staff of interline 21 whose top line is row 120, and the
// staff record that goes with it as staff detection would leave it.
#pragma once

#include "image/offscreen.h"
#include "records/portee.h"

namespace bande_bench {

constexpr int kLargeur = 2480, kHauteur = 330, kS = 21, kHaut = 120;

inline void Pave(const VuePixels& base, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
}

// A white band with the five staff lines drawn.
inline Offscreen BandeAvecLignes() {
    Offscreen b = CreeOffscreen(kLargeur, kHauteur);
    const VuePixels base = VueOffscreen(b);
    for (int l = 0; l < 5; ++l)
        Pave(base, 100, kHaut + l * kS - 1, kLargeur - 100, kHaut + l * kS + 1);
    return b;
}

// The staff of that band, its band at page row 1000, its lines straight.
inline Portee PorteeDeBande() {
    Portee p;
    p.CadreBande = Rect{1000, 0, 1000 + kHauteur, kLargeur};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes = Rect{1000 + kHaut, 100, 1000 + kHaut + 5 * kS, kLargeur - 100};
    p.NbLignesPortee = 5;
    p.Interligne = kS;
    p.Echantillons = {EchantillonLignes{1, 0, 1000.0f + kHaut, kS},
                      EchantillonLignes{1, kLargeur, 1000.0f + kHaut, kS}};
    return p;
}

}  // namespace bande_bench
