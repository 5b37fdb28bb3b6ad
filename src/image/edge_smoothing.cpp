#include "image/edge_smoothing.h"

#include "toolbox/messages.h"

namespace {

// The eight neighbours in turn around the pixel, corners at even places.
constexpr int kTourX[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr int kTourY[8] = {-1, -1, -1, 0, 1, 1, 1, 0};

// Whether the pixel's colour should flip: `autre[i]` tells whether neighbour
// i is of the other kind (white around a black pixel, black around a white
// one). The other kind must hold more than five neighbours, or five with
// exactly two corners, and form one arc: a pixel between two strokes, or in
// a one-pixel line, sees two arcs and stays.
bool Bascule(const bool autre[8]) {
    int nombre = 0, coins = 0, debutsArc = 0;
    for (int i = 0; i < 8; ++i) {
        if (!autre[i]) continue;
        ++nombre;
        if (i % 2 == 0) ++coins;
        if (!autre[(i + 7) % 8]) ++debutsArc;
    }
    const bool unArc = debutsArc == 1 || nombre == 8;
    return unArc && (nombre > 5 || (nombre == 5 && coins == 2));
}

}  // namespace

bool LisseContours(Offscreen o) {
    Trace("Lissage des contours");
    if (!o) return true;
    const OffscreenPossede avant(DupliqueOffscreen(o));
    if (!avant) return false;
    // Read the copy, write the page.
    const VuePixels source = VueOffscreen(avant.get());
    const int pas = source.pasLigne;
    const VuePixels base = VueOffscreen(o);
    for (int y = 1; y + 1 < o->hauteur; ++y) {
        const uint8_t* ligne = LignePixels(source, y);
        uint8_t* cible = LignePixels(base, y);
        for (int x = 1; x + 1 < o->largeur; ++x) {
            const uint8_t v = ligne[x];
            if (v != IndexNoir && v != IndexBlanc) continue;
            bool autre[8];
            for (int i = 0; i < 8; ++i) {
                const uint8_t voisin = ligne[x + kTourX[i] + kTourY[i] * pas];
                autre[i] = v == IndexNoir ? voisin != IndexNoir : voisin == IndexNoir;
            }
            if (Bascule(autre)) cible[x] = v == IndexNoir ? IndexBlanc : IndexNoir;
        }
    }
    return true;
}
