#include "image/command_areas.h"

#include <algorithm>

#include "records/etat_page.h"
#include "toolbox/messages.h"

namespace {

int16_t Borne16(int valeur) {
    return static_cast<int16_t>(std::clamp(valeur, int{INT16_MIN}, int{INT16_MAX}));
}

void RemplitRectangle(Offscreen image, const Rect& r, uint8_t index) {
    const VuePixels base = VueOffscreen(image);
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

bool AireSymbole(EtatPage& etat, uint16_t code, const Rect& cadre, Point& position) {
    const int i = etat.PorteeCourante;
    if (i < 0 || i >= static_cast<int>(etat.Portees.size())) return false;
    const Rect& bande = etat.Portees[i].CadreBande;
    // In page coordinates, computed wide: a band far down the page must not
    // wrap the 16-bit fields.
    const int haut = cadre.top + bande.top, bas = cadre.bottom + bande.top;
    const int gauche = cadre.left + bande.left, droite = cadre.right + bande.left;
    for (const AireCommande& a : etat.Aires) {
        if (a.Commande != kAireSymbole || a.CommandeParam != code) continue;
        const Rect& r = a.Aire;
        if (!(r.left < droite && gauche < r.right && r.top < bas && haut < r.bottom)) continue;
        position.v = static_cast<int16_t>((r.top + r.bottom) / 2 - bande.top);
        position.h = static_cast<int16_t>((r.left + r.right) / 2 - bande.left);
        return true;
    }
    return false;
}

Rect NormaliseAire(int haut, int gauche, int bas, int droite) {
    if (bas < haut) std::swap(haut, bas);
    if (droite < gauche) std::swap(gauche, droite);
    haut = std::clamp(haut, int{INT16_MIN}, INT16_MAX - kTailleMinAire);
    gauche = std::clamp(gauche, int{INT16_MIN}, INT16_MAX - kTailleMinAire);
    bas = std::max(bas, haut + kTailleMinAire);
    droite = std::max(droite, gauche + kTailleMinAire);
    return Rect{Borne16(haut), Borne16(gauche), Borne16(bas), Borne16(droite)};
}

bool SupprimeAire(EntreePage& page, int index) {
    if (index < 0 || index >= static_cast<int>(page.Aires.size())) {
        Alerte("DeleteAireCommande : bad index");
        return false;
    }
    page.Aires.erase(page.Aires.begin() + index);
    return true;
}
