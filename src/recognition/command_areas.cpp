#include "recognition/command_areas.h"

#include <algorithm>

namespace {

void RemplitRectangle(Offscreen image, const Rect& r, uint8_t index) {
    uint8_t* base = PrepareOffscreen(image);
    const int haut = std::max<int>(r.top, 0), bas = std::min<int>(r.bottom, image->hauteur);
    const int gauche = std::max<int>(r.left, 0), droite = std::min<int>(r.right, image->largeur);
    for (int y = haut; y < bas; ++y) {
        uint8_t* ligne = LignePixels(base, y);
        std::fill(ligne + gauche, ligne + std::max(gauche, droite), index);
    }
}

}  // namespace

bool AiresActives(const EntreePage* page, Offscreen image) {
    if (!page || !image) return false;
    return std::any_of(page->Aires.begin(), page->Aires.end(), [](const AireCommande& a) {
        return a.Commande == kAireEfface || a.Commande == kAireSymbole;
    });
}

void AppliqueAires(const EntreePage& page, Offscreen image) {
    if (!image) return;
    for (const AireCommande& a : page.Aires) {
        if (a.Commande == kAireEfface)
            RemplitRectangle(image, a.Aire, IndexBlanc);
        else if (a.Commande == kAireSymbole && (a.Aire.Hauteur() >= 9 || a.Aire.Largeur() >= 9))
            RemplitRectangle(image, a.Aire, IndexNoir);
    }
}

// Symbol areas are not taken into account yet.
bool AireSymbole(uint16_t, const Rect&, Point&) { return false; }
