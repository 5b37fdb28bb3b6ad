#include "image/despeckle.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "toolbox/messages.h"

int CompteComposante(const VuePixels& base, int x, int y, int compte, int limite, uint8_t couleur) {
    if (LitPixel(base, x, y) != couleur || !PointDansRect(y, x, base.bornes)) return compte;
    // Visited pixels take another colour so that none is counted twice; red
    // unless the component itself is red. An explicit stack keeps large
    // levels off the call stack; the count does not depend on the order.
    const uint8_t marque = couleur == IndexRouge ? IndexBleu : IndexRouge;
    // Called for every pixel of a page: the two lists keep their memory.
    static thread_local std::vector<std::pair<int, int>> visites;
    static thread_local std::vector<std::pair<int, int>> pile;
    visites.clear();
    pile.assign(1, {x, y});
    while (!pile.empty() && compte <= limite) {
        const auto [px, py] = pile.back();
        pile.pop_back();
        if (LitPixel(base, px, py) != couleur || !PointDansRect(py, px, base.bornes)) continue;
        ++compte;
        EcritPixel(base, px, py, marque);
        visites.emplace_back(px, py);
        if (compte > limite) break;
        // Pushed in reverse of the visiting order: left, right, up, down, then the diagonals.
        pile.emplace_back(px + 1, py + 1);
        pile.emplace_back(px + 1, py - 1);
        pile.emplace_back(px - 1, py + 1);
        pile.emplace_back(px - 1, py - 1);
        pile.emplace_back(px, py + 1);
        pile.emplace_back(px, py - 1);
        pile.emplace_back(px + 1, py);
        pile.emplace_back(px - 1, py);
    }
    for (const auto& [px, py] : visites) EcritPixel(base, px, py, couleur);
    return compte;
}

namespace {

// Pixels of colour `couleur` that follow (x, y) unbroken in steps of
// (dx, dy) within the bounds, counted up to `limite`.
int Suite(const VuePixels& base, int x, int y, int dx, int dy, int limite, uint8_t couleur) {
    int n = 0;
    for (x += dx, y += dy;
         n < limite && PointDansRect(y, x, base.bornes) && LignePixels(base, y)[x] == couleur;
         x += dx, y += dy)
        ++n;
    return n;
}

// The same along the row to the right, eight pixels at a time where it can:
// nearly the whole page is passed over this way.
int SuiteADroite(const VuePixels& base, int x, int y, int limite, uint8_t couleur) {
    if (!PointDansRect(y, x, base.bornes)) return 0;
    const uint8_t* ligne = LignePixels(base, y);
    const int fin = static_cast<int>(std::min<int64_t>(base.bornes.right, int64_t{x} + 1 + limite));
    const uint64_t huit = 0x0101010101010101ULL * couleur;
    int i = x + 1;
    while (i + 8 <= fin && HuitPixels(ligne + i) == huit) i += 8;
    while (i < fin && ligne[i] == couleur) ++i;
    return std::max(0, i - x - 1);
}

}  // namespace

void Depoussiere(Offscreen o, int niveau) {
    Trace("Depoussiere niveau %d", niveau);
    if (!o || niveau <= 0) return;
    const VuePixels base = VueOffscreen(o);
    // Counting each pixel's component is what the level asks, but nearly
    // every pixel lies in a run of its colour longer than the level, along
    // the row or across it with the column, and so in a component too large
    // to fill: those are passed over without a count. A run found long along
    // the row is passed over whole, since nothing is filled along it.
    for (int y = 0; y < o->hauteur; ++y) {
        for (int x = 0; x < o->largeur;) {
            const uint8_t c = LignePixels(base, y)[x];
            const int gauche = Suite(base, x, y, -1, 0, niveau, c);
            const int droite = SuiteADroite(base, x, y, o->largeur, c);
            if (gauche + 1 + droite > niveau) {
                x += 1 + droite;
                continue;
            }
            const int croix = gauche + 1 + droite + Suite(base, x, y, 0, -1, niveau, c) +
                              Suite(base, x, y, 0, 1, niveau, c);
            if (croix <= niveau && CompteComposante(base, x, y, 0, niveau, c) <= niveau)
                RemplitComposante(base, x, y, c, c == IndexNoir ? IndexBlanc : IndexNoir);
            ++x;
        }
    }
}
