#include "app/staff_overlay.h"

#include <cmath>

#include "records/page_entry.h"
#include "staff/staff_geometry.h"

namespace {

void DessineCadre(const VuePixels& base, const Rect& r, uint8_t couleur) {
    for (int x = r.left; x < r.right; ++x) {
        EcritPixel(base, x, r.top, couleur);
        EcritPixel(base, x, r.bottom - 1, couleur);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        EcritPixel(base, r.left, y, couleur);
        EcritPixel(base, r.right - 1, y, couleur);
    }
}

// Lines two pixels thick, so that they show beside the black staff lines.
void DessineLignes(const VuePixels& base, int i) {
    const Portee& p = Document.Etat.Portees[i];
    for (int x = p.CadreLignes.left; x <= p.CadreLignes.right; ++x) {
        const float haut = LigneHautEn(Document.Etat, i, x - p.CadreBande.left) + p.CadreBande.top;
        const float interligne = InterligneEn(Document.Etat, i, x - p.CadreBande.left);
        for (int k = 0; k < p.NbLignesPortee; ++k) {
            const int y = static_cast<int>(std::lround(haut + k * interligne));
            EcritPixel(base, x, y, IndexRouge);
            EcritPixel(base, x, y + 1, IndexRouge);
        }
    }
}

void DessineEchantillons(const VuePixels& base, const Portee& p) {
    for (const EchantillonLignes& e : p.Echantillons) {
        if (e.Chaine == 0) continue;
        const int cx = static_cast<int>(e.X), cy = static_cast<int>(std::lround(e.Y));
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) EcritPixel(base, cx + dx, cy + dy, IndexVert);
    }
}

}  // namespace

void DessinePortees(Offscreen page) {
    const VuePixels base = VueOffscreen(page);
    if (!base.base) return;
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = Document.Etat.Portees[i];
        DessineCadre(base, p.CadreBande, IndexBleu);
        Rect interieur{static_cast<int16_t>(p.CadreBande.top + 1),
                       static_cast<int16_t>(p.CadreBande.left + 1),
                       static_cast<int16_t>(p.CadreBande.bottom - 1),
                       static_cast<int16_t>(p.CadreBande.right - 1)};
        DessineCadre(base, interieur, IndexBleu);
        DessineLignes(base, i);
        DessineEchantillons(base, p);
    }
}
