#include "image/despeckle.h"

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

void Depoussiere(Offscreen o, int niveau) {
    Trace("Depoussiere niveau %d", niveau);
    if (!o || niveau <= 0) return;
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < o->hauteur; ++y) {
        for (int x = 0; x < o->largeur; ++x) {
            const uint8_t c = LitPixel(base, x, y);
            if (CompteComposante(base, x, y, 0, niveau, c) > niveau) continue;
            RemplitComposante(base, x, y, c, c == IndexNoir ? IndexBlanc : IndexNoir);
        }
    }
}
