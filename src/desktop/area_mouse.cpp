// Hit testing favours the topmost area and the nearer edge, so that the
// user can always grab what is drawn last and still move small areas.
#include "desktop/area_mouse.h"

#include <cstdlib>

#include "toolbox/messages.h"

namespace {

// Of two opposite edges within reach, the nearer one; neither when midway.
// Flagging every edge within reach would flag both opposite edges of any
// area narrower than twice the reach, wherever it is taken: both would
// follow the mouse, so the first drag would shrink the area to the minimum
// size instead of moving or widening it, and an area of the minimum size
// could never be moved at all.
int BordProche(int distanceA, int distanceB, int bordA, int bordB) {
    const bool a = distanceA < kMargeSaisieAire, b = distanceB < kMargeSaisieAire;
    if (a && b) {
        if (distanceA == distanceB) return 0;
        return distanceA < distanceB ? bordA : bordB;
    }
    return a ? bordA : (b ? bordB : 0);
}

}  // namespace

AireSouris AireSousSouris(const std::vector<AireCommande>& aires, Point souris) {
    const int v = souris.v, h = souris.h;
    for (int i = static_cast<int>(aires.size()) - 1; i >= 0; --i) {
        const Rect& r = aires[i].Aire;
        if (v < r.top - kMargeSaisieAire || v >= r.bottom + kMargeSaisieAire ||
            h < r.left - kMargeSaisieAire || h >= r.right + kMargeSaisieAire)
            continue;
        AireSouris trouvee;
        trouvee.index = i;
        trouvee.bords =
            BordProche(std::abs(h - r.left), std::abs(h - r.right), kBordGauche, kBordDroit) |
            BordProche(std::abs(v - r.top), std::abs(v - r.bottom), kBordHaut, kBordBas);
        return trouvee;
    }
    return {};
}

int AjouteAireDessinee(std::vector<AireCommande>& aires, Point depart, Point arrivee,
                       uint16_t symbole) {
    if (aires.size() >= kNbMaxAires) {
        Alerte("A page holds at most %zu command areas", kNbMaxAires);
        return -1;
    }
    AireCommande aire;
    aire.Aire = NormaliseAire(depart.v, depart.h, arrivee.v, arrivee.h);
    aire.Commande = symbole != 0 ? kAireSymbole : kAireEfface;
    aire.CommandeParam = symbole;
    aires.push_back(aire);
    return static_cast<int>(aires.size()) - 1;
}

DeplacementAire::DeplacementAire(std::vector<AireCommande>& aires, Point depart)
    : aires_(aires), depart_(depart), saisie_(AireSousSouris(aires, depart)) {
    if (Actif()) origine_ = aires_[saisie_.index].Aire;
}

void DeplacementAire::Suit(Point souris) {
    if (!Actif() || saisie_.index >= static_cast<int>(aires_.size())) return;
    int haut = origine_.top, gauche = origine_.left, bas = origine_.bottom, droite = origine_.right;
    if (saisie_.bords == 0) {
        const int dv = souris.v - depart_.v, dh = souris.h - depart_.h;
        haut += dv;
        bas += dv;
        gauche += dh;
        droite += dh;
    } else {
        if (saisie_.bords & kBordGauche) gauche = souris.h;
        if (saisie_.bords & kBordDroit) droite = souris.h;
        if (saisie_.bords & kBordHaut) haut = souris.v;
        if (saisie_.bords & kBordBas) bas = souris.v;
    }
    aires_[saisie_.index].Aire = NormaliseAire(haut, gauche, bas, droite);
}
