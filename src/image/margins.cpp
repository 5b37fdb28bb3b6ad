#include "image/margins.h"

#include <vector>

#include "toolbox/messages.h"

namespace {

constexpr int kLimiteMarge = 800;   // per mille of black
constexpr int kToleranceHaut = 20;  // rows that are not dark, minus one

bool LigneSombre(int proportion) {
    return proportion > kLimiteMarge;
}

// Columns are counted and marked row by row, down the page once rather than
// once a column: marking a column changes no other column's count.
void MarqueColonnesSombres(const VuePixels& base, int W, int H) {
    std::vector<int64_t> noirs(static_cast<size_t>(W), 0);
    for (int y = 0; y < H; ++y) {
        const uint8_t* ligne = LignePixels(base, y);
        for (int x = 0; x < W; ++x) {
            if (IndexNoir != 0 && x + 8 <= W && HuitPixels(ligne + x) == 0) {
                x += 7;  // eight white pixels
                continue;
            }
            noirs[x] += ligne[x] == IndexNoir;
        }
    }
    std::vector<int> sombres;
    for (int x = 0; x < W; ++x)
        if (LigneSombre(static_cast<int>(noirs[x] * 1000 / H))) sombres.push_back(x);
    if (sombres.empty()) return;
    for (int y = 0; y < H; ++y) {
        uint8_t* ligne = LignePixels(base, y);
        for (int x : sombres)
            if (ligne[x] == IndexNoir) ligne[x] = IndexJauneClair;
    }
}

}  // namespace

int ProportionNoire(const VuePixels& base, int x, int y, int dx, int dy, int n) {
    if (n <= 0) return 0;
    int64_t noirs = 0;
    for (int i = 0; i < n; ++i)
        if (EstNoir(base, x + i * dx, y + i * dy)) ++noirs;
    return static_cast<int>(noirs * 1000 / n);
}

void MarqueMarge(const VuePixels& base, int x, int y, int dx, int dy, int n) {
    for (int i = 0; i < n; ++i) {
        const int px = x + i * dx, py = y + i * dy;
        if (EstNoir(base, px, py)) EcritPixel(base, px, py, IndexJauneClair);
    }
}

void SupprimeMarges(Offscreen o) {
    Trace("Suppression des marges");
    if (!o) return;
    const VuePixels base = VueOffscreen(o);
    const int W = o->largeur, H = o->hauteur;

    MarqueColonnesSombres(base, W, H);

    // A dark bar may be followed by a few lines of text or scanner noise
    // before the next one: the scan goes on through a short stretch of rows
    // that are not dark, and stops at once on a clean row.
    int decompte = kToleranceHaut;
    for (int y = 0; y < H; ++y) {
        const int p = ProportionNoire(base, 0, y, 1, 0, W);
        if (LigneSombre(p)) {
            MarqueMarge(base, 0, y, 1, 0, W);
            decompte = kToleranceHaut;
        } else {
            if (decompte < 0) break;
            --decompte;
        }
        if (p == 0) break;
    }

    for (int y = H - 1; y >= 0; --y) {
        if (!LigneSombre(ProportionNoire(base, 0, y, 1, 0, W))) break;
        MarqueMarge(base, 0, y, 1, 0, W);
    }
}
