// Matchers of note heads: black heads by their blobs, whole notes and
// half-note heads by their holes, grace notes by small blobs with a stem.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

int ReconnaitNoire(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (CalculeTaches(etat, g) <= 0) return 0;
    TacheRonde* tache = PlusGrandeTache(etat, g);
    if (!tache || tache->Taille <= static_cast<int>(0.6f * s)) return 0;
    tache->Disponible = 0;
    position = Point{Tronque16(g.Cadre.top + tache->Y), Tronque16(tache->X - tache->Taille / 2)};
    return static_cast<int>(550 - std::fabs(tache->Taille - 0.85f * s) * 560 / s);
}

int ReconnaitRonde(EtatPage& etat, Graphe& g, float s, Point& position) {
    Rect rect = g.Cadre;
    if (g.Cadre.bottom - g.Cadre.top < 1.5f * s) rect.bottom = Tronque16(g.Cadre.top + 1.5f * s);
    const Graphe ronde = FusionneGraphes(etat, rect, false, Etiquette('R', 'o', 'n', 'd'));
    const int r = static_cast<int>(s);
    const int largeur = ronde.Largeur();
    if (GrapheVide(ronde) || largeur < 1.3f * r ||
        ronde.Cadre.bottom - ronde.Cadre.top < 0.8f * r || largeur > 3.2f * r) {
        return 0;
    }
    std::vector<Trou> trous;
    const int k = TrouveTrous(ronde, s, trous, ModeTrous::Entier);
    if (ronde.NbLignes < k * s - s / 2 || ronde.NbLignes > k * s + s / 2) return 0;
    if (g.Courant >= k) return 0;
    const Trou& trou = trous[g.Courant++];
    position = Point{Tronque16(ronde.Cadre.top + (trou.PremiereLigne + trou.DerniereLigne) / 2),
                     trou.PremiereColonne};
    return 501;
}

int ReconnaitBlanche(EtatPage& etat, Graphe& g, float s, Point& position) {
    Rect rect = g.Cadre;
    if (g.Cadre.bottom - g.Cadre.top < s) {
        // A head cut from its stem: look for the stem just above and below.
        rect.top = Tronque16(g.Cadre.top - s / 3);
        rect.bottom = Tronque16(rect.top + 2 * s / 3);
    } else {
        const TraitVertical* propre = PlusLongTrait(etat, g);
        if (!propre || HauteurTrait(*propre) < 2 * s) return 0;
    }
    Graphe tete = FusionneGraphes(etat, rect, false, Etiquette('B', 'l', 'a', 'n'));
    if (GrapheVide(tete)) return 0;
    TraitVertical* tige = PlusLongTrait(etat, tete);
    if (!tige || HauteurTrait(*tige) < 2 * s) return 0;
    tige->Disponible = 0;
    const TraitVertical t = *tige;
    // Another long stroke beside the stem makes it something else.
    for (TraitVertical* autre = PlusLongTrait(etat, tete); autre && HauteurTrait(*autre) > s;
         autre = PlusLongTrait(etat, tete)) {
        autre->Disponible = 0;
        const int recouvrement =
            std::max(0, std::min(autre->YBas, t.YBas) - std::max(autre->YHaut, t.YHaut));
        if (HauteurTrait(t) - recouvrement < 2 * s) return 0;
    }
    const int r = static_cast<int>(s);
    const int largeur = tete.Largeur();
    if (largeur < r || tete.Cadre.bottom - tete.Cadre.top < 0.9f * r || largeur > 3.5f * r)
        return 0;

    std::vector<Trou> trous;
    TrouveTrous(tete, s, trous, ModeTrous::Demi);
    const int milieu = (tete.Cadre.left + tete.Cadre.right) / 2;
    const int sonde = t.XHaut >= milieu ? static_cast<int>(std::max(t.XHaut, t.XBas) - 0.75f * s)
                                        : static_cast<int>(std::min(t.XHaut, t.XBas) + 0.75f * s);
    const int sondeMilieu = static_cast<int>((t.XHaut + t.XBas) / 2.0 - 0.75 * s);
    std::vector<const Trou*> acceptes;
    for (const Trou& trou : trous) {
        const auto contient = [&](int x) {
            return x >= trou.PremiereColonne && x <= trou.DerniereColonne;
        };
        if (contient(sonde) || contient(sondeMilieu)) acceptes.push_back(&trou);
    }
    if (g.Courant >= static_cast<int>(acceptes.size())) return 0;
    const Trou& trou = *acceptes[g.Courant++];
    position = Point{Tronque16(tete.Cadre.top + (trou.PremiereLigne + trou.DerniereLigne) / 2),
                     trou.PremiereColonne};
    const double milieuTrou = (trou.PremiereColonne + trou.DerniereColonne) / 2.0;
    const double milieuTige = (t.XHaut + t.XBas) / 2.0;
    const int ecart = static_cast<int>(std::fabs(milieuTrou - milieuTige) - 0.75 * s);
    return static_cast<int>(900 - std::abs(ecart) * 400 / s);
}

int ReconnaitAppogiature(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (CalculeTaches(etat, g) <= 0 || g.NbLignes <= s) return 0;
    CalculeTraitsVerticaux(etat, g);
    for (;;) {
        TacheRonde* tache = nullptr;
        for (TacheRonde& t : g.Taches) {
            if (t.Disponible && (!tache || t.Y > tache->Y)) tache = &t;
        }
        if (!tache) return 0;
        tache->Disponible = 0;
        const int taille = tache->Taille;
        if (taille < 0.4f * s || taille > 0.59f * s) continue;
        const float portee = taille / 2 + s / 3;
        bool tige = false;
        for (const TraitVertical& t : g.TraitsVerticaux) {
            if (HauteurTrait(t) >= s / 3 && t.XBas >= tache->X &&
                std::abs(t.XBas - tache->X) < portee && std::abs(t.YBas - tache->Y) < portee) {
                tige = true;
                break;
            }
        }
        if (!tige) continue;
        position = Point{Tronque16(g.Cadre.top + tache->Y), Tronque16(tache->X - taille / 2)};
        for (TacheRonde& t : g.Taches) {
            if (t.Disponible && std::abs(t.X - tache->X) < 0.6f * s) t.Disponible = 0;
        }
        return static_cast<int>(550 - std::fabs(taille - 0.5f * s) * 560 / s);
    }
}
