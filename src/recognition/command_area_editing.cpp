#include "recognition/command_area_editing.h"

#include <algorithm>
#include <cstdlib>

#include "toolbox/messages.h"

namespace {

int16_t Borne16(int valeur) {
    return static_cast<int16_t>(std::clamp(valeur, int{INT16_MIN}, int{INT16_MAX}));
}

// Of two opposite edges within reach, the nearer one; neither when midway.
int BordProche(int distanceA, int distanceB, int bordA, int bordB) {
    const bool a = distanceA < kMargeSaisieAire, b = distanceB < kMargeSaisieAire;
    if (a && b) {
        if (distanceA == distanceB) return 0;
        return distanceA < distanceB ? bordA : bordB;
    }
    return a ? bordA : (b ? bordB : 0);
}

}  // namespace

ModeOutilAire ModeEffectif(ModeOutilAire mode, bool toucheSuppression) {
    return toucheSuppression ? ModeOutilAire::Suppression : mode;
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

AireSouris AireSousSouris(const EntreePage& page, Point souris) {
    const int v = souris.v, h = souris.h;
    for (size_t i = 0; i < page.Aires.size(); ++i) {
        const Rect& r = page.Aires[i].Aire;
        if (v < r.top - kMargeSaisieAire || v >= r.bottom + kMargeSaisieAire ||
            h < r.left - kMargeSaisieAire || h >= r.right + kMargeSaisieAire)
            continue;
        AireSouris trouvee;
        trouvee.index = static_cast<int>(i);
        trouvee.bords =
            BordProche(std::abs(h - r.left), std::abs(h - r.right), kBordGauche, kBordDroit) |
            BordProche(std::abs(v - r.top), std::abs(v - r.bottom), kBordHaut, kBordBas);
        return trouvee;
    }
    return {};
}

int AjouteAireDessinee(EntreePage& page, Point depart, Point arrivee, uint16_t symbole) {
    if (page.Aires.size() >= kNbMaxAires) {
        Alerte("A page holds at most %zu command areas", kNbMaxAires);
        return -1;
    }
    AireCommande aire;
    aire.Aire = NormaliseAire(depart.v, depart.h, arrivee.v, arrivee.h);
    aire.Commande = symbole != 0 ? kAireSymbole : kAireEfface;
    aire.CommandeParam = symbole;
    page.Aires.push_back(aire);
    return static_cast<int>(page.Aires.size()) - 1;
}

bool SupprimeAire(EntreePage& page, int index) {
    if (index < 0 || index >= static_cast<int>(page.Aires.size())) {
        Alerte("DeleteAireCommande : bad index");
        return false;
    }
    page.Aires.erase(page.Aires.begin() + index);
    return true;
}

DeplacementAire::DeplacementAire(EntreePage& page, Point depart)
    : page_(page), depart_(depart), saisie_(AireSousSouris(page, depart)) {
    if (Actif()) origine_ = page_.Aires[saisie_.index].Aire;
}

void DeplacementAire::Suit(Point souris) {
    if (!Actif() || saisie_.index >= static_cast<int>(page_.Aires.size())) return;
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
    page_.Aires[saisie_.index].Aire = NormaliseAire(haut, gauche, bas, droite);
}
