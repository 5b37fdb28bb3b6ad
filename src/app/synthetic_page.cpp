#include "app/synthetic_page.h"

#include <algorithm>

namespace {

void Rectangle(const VuePixels& base, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
}

void TeteNoire(const VuePixels& base, int cx, int cy, int interligne) {
    const int rx = interligne * 6 / 10, ry = interligne / 2;
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x)
            if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry)
                EcritPixel(base, cx + x, cy + y, IndexNoir);
}

}  // namespace

Offscreen DessinePageSynthetique(int nbPortees, int largeur, int interligne) {
    const int hauteurPortee = 12 * interligne;
    Offscreen page =
        CreeOffscreen(largeur, std::max(1, nbPortees) * hauteurPortee + 4 * interligne);
    if (!page) return nullptr;
    const VuePixels base = VueOffscreen(page);
    const int epaisseur = std::max(2, interligne / 8);
    for (int p = 0; p < nbPortees; ++p) {
        const int haut = 4 * interligne + p * hauteurPortee;
        for (int l = 0; l < 5; ++l)
            Rectangle(base, interligne * 2, haut + l * interligne, largeur - interligne * 2,
                      haut + l * interligne + epaisseur);
        Rectangle(base, largeur - interligne * 2 - epaisseur, haut, largeur - interligne * 2,
                  haut + 4 * interligne + epaisseur);
        for (int n = 0; n < 8; ++n) {
            const int x = interligne * 8 + n * interligne * 4;
            const int y = haut + (n % 5) * interligne + interligne / 2;
            TeteNoire(base, x, y, interligne);
            Rectangle(base, x + interligne * 6 / 10 - epaisseur, y - 3 * interligne,
                      x + interligne * 6 / 10, y);
        }
    }
    return page;
}
