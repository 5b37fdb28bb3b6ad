// Matchers of the accidentals and the dot. Sharps, naturals and flats are
// scored by their two strokes and by where stroke and bar ends lie.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "symbols/matcher_tools.h"
#include "symbols/matchers_internal.h"

namespace {

bool TailleAlteration(const Graphe& g, float s, bool petit) {
    if (petit) return VerifieTaille(g, 0.2f * s, 0.8f * s, 0.2f * s, 1.5f * s);
    return VerifieTaille(g, 0.5f * s, 4 * s, 1.5f * s, 3.5f * s);
}

bool Vertical(const TraitVertical& t, float s) {
    return std::abs(t.XHaut - t.XBas) <= s / 4;
}

}  // namespace

int ReconnaitDiese(EtatPage& etat, Graphe& g, float s, bool petit, Point& position) {
    g.Ouvert = 0;
    if (!TailleAlteration(g, s, petit)) return 0;
    position = CentreGraphe(g);
    const Extremites e = CompteExtremites(etat, g, s);
    int score = e.traitsHaut == 2 ? 150 : 60;
    if (e.traitsBas == 2) score += 90;
    if (e.traitsHaut == 2 && e.traitsBas == 2) score += 100;
    if (e.barresGauche == 2) score += 30;
    if (e.barresDroite == 2) score += 30;
    TraitVertical* premier = PlusLongTrait(etat, g);
    if (!premier) return score;
    premier->Disponible = 0;
    if (HauteurTrait(*premier) < s / 2) return 0;
    if (Vertical(*premier, s)) score += 50;
    TraitVertical* second = PlusLongTrait(etat, g);
    if (!second) return score;
    second->Disponible = 0;
    if (Vertical(*second, s)) score += 50;
    const TraitVertical* gauche = premier;
    const TraitVertical* droite = second;
    if (droite->XHaut < gauche->XHaut) std::swap(gauche, droite);
    if (gauche->XHaut - gauche->Epaisseur / 2 > g.Cadre.left &&
        gauche->XBas - gauche->Epaisseur / 2 > g.Cadre.left) {
        score += 100;
    }
    if (std::abs(gauche->YHaut - droite->YHaut) <= s / 2) score += 130;
    if (std::abs(gauche->YBas - droite->YBas) <= s / 2) score += 130;
    if (droite->XHaut + droite->Epaisseur / 2 + 1 >= g.Cadre.right - s / 4) score += 70;
    if (droite->XBas + droite->Epaisseur / 2 + 1 >= g.Cadre.right - s / 4) score += 70;
    const int ecart = droite->XHaut - gauche->XHaut;
    if (ecart > s || ecart < s / 4) return 0;
    return score;
}

int ReconnaitBecarre(EtatPage& etat, Graphe& g, float s, bool petit, Point& position) {
    g.Ouvert = 0;
    if (!TailleAlteration(g, s, petit)) return 0;
    position = CentreGraphe(g);
    const Extremites e = CompteExtremites(etat, g, s);
    int score = e.traitsHaut == 1 ? 150 : 60;
    if (e.traitsBas == 1) score += 90;
    if (e.barresGauche == 2) score += 30;
    if (e.barresDroite == 2) score += 30;
    TraitVertical* premier = PlusLongTrait(etat, g);
    if (!premier) return score;
    premier->Disponible = 0;
    if (Vertical(*premier, s)) score += 50;
    TraitVertical* second = PlusLongTrait(etat, g);
    if (!second) return score;
    const TraitVertical* gauche = premier;
    const TraitVertical* droite = second;
    if (droite->XHaut < gauche->XHaut) std::swap(gauche, droite);
    if (Vertical(*droite, s)) score += 50;
    if (gauche->XHaut - gauche->Epaisseur / 2 - 1 > g.Cadre.left &&
        gauche->XBas - gauche->Epaisseur / 2 - 1 > g.Cadre.left) {
        // Something sticks out left of the left stroke: only one stroke may
        // then reach the top and one the bottom.
        int enHaut = 0, enBas = 0;
        for (const TraitVertical& t : g.TraitsVerticaux) {
            if (t.YHaut < s / 2) ++enHaut;
            if (t.YBas > g.NbLignes - s / 2) ++enBas;
        }
        if (enHaut != 1 || enBas != 1) return 0;
    } else {
        score += 100;
    }
    if (droite->YHaut >= gauche->YHaut + s / 3 && droite->YBas >= gauche->YBas + s / 3)
        score += 400;
    if (droite->XHaut + droite->Epaisseur / 2 + 1 >= g.Cadre.right &&
        droite->XBas + droite->Epaisseur / 2 + 1 >= g.Cadre.right) {
        score += 100;
    }
    return score;
}

namespace {

// A flat's stem standing alone (its belly lost to line removal): merges the
// first component found right of it.
Graphe CompleteBemol(EtatPage& etat, const Graphe& g, float s) {
    Graphe copie = FusionneDeux(Graphe{}, g);
    copie.Etiquette = Etiquette('B', 'e', 'm', 'o');
    const int lignes = copie.NbLignes;
    if (CalculeTraitsVerticaux(etat, copie) != 1 || copie.Largeur() > s / 2 ||
        lignes < static_cast<int>(s) || lignes > static_cast<int>(3 * s)) {
        return copie;
    }
    for (int d = static_cast<int>(s / 2); d < s; ++d) {
        const int x = g.Cadre.right + d;
        for (int y = g.Cadre.top; y <= g.Cadre.bottom; ++y) {
            for (const Graphe& autre : etat.Graphes) {
                if (&autre == &g || !PointDansRect(y, x, autre.Cadre)) continue;
                Graphe complet = FusionneDeux(copie, autre);
                complet.Etiquette = copie.Etiquette;
                return complet;
            }
        }
    }
    return copie;
}

// The stem tests shared by the flat and the small flat.
int NoteTigeBemol(const Graphe& g, const TraitVertical& tige, float s, int score) {
    if (Vertical(tige, s)) score += 80;
    const int w = tige.Epaisseur / 2;
    const bool hautDecale = tige.XHaut - w - 1 > g.Cadre.left;
    const bool basDecale = tige.XBas - w - 1 > g.Cadre.left;
    if (!hautDecale || !basDecale) {
        score += 100;
    } else {
        score = -1000;
    }
    if (tige.YHaut <= s / 2) {
        score += 100;
    } else {
        score = -1000;
    }
    if (g.NbLignes - tige.YBas <= s / 2) {
        score += 100;
    } else {
        score = -1000;
    }
    return score;
}

// Where the belly's top joins it, a flat's stem is a wide run that stroke
// tracking does not cross: the stem is the longest stroke together with the
// strokes that continue it across such a short break, above or below.
TraitVertical TigeBemol(Graphe& g, TraitVertical& plusLong, float s) {
    plusLong.Disponible = 0;
    TraitVertical tige = plusLong;
    for (bool prolonge = true; prolonge;) {
        prolonge = false;
        for (TraitVertical& t : g.TraitsVerticaux) {
            if (!t.Disponible || !Vertical(t, s)) continue;
            const bool dessous = t.YHaut >= tige.YBas && t.YHaut - tige.YBas <= s / 4 &&
                                 std::abs(t.XHaut - tige.XBas) <= s / 4;
            const bool dessus = tige.YHaut >= t.YBas && tige.YHaut - t.YBas <= s / 4 &&
                                std::abs(tige.XHaut - t.XBas) <= s / 4;
            if (!dessous && !dessus) continue;
            if (dessous) {
                tige.XBas = t.XBas;
                tige.YBas = t.YBas;
            } else {
                tige.XHaut = t.XHaut;
                tige.YHaut = t.YHaut;
            }
            t.Disponible = 0;
            prolonge = true;
        }
    }
    return tige;
}

bool VentreBemol(const TraitVertical& ventre, const TraitVertical& tige, float s) {
    return HauteurTrait(ventre) <= (2 * HauteurTrait(tige)) / 3 && ventre.YBas <= tige.YBas + s / 2;
}

}  // namespace

int ReconnaitBemol(EtatPage& etat, Graphe& g, float s, Point& position) {
    g.Ouvert = 0;
    Graphe bemol = CompleteBemol(etat, g, s);
    if (!VerifieTaille(bemol, 0.5f * s, 4 * s, 1.5f * s, 3.5f * s)) return 0;
    const Extremites e = CompteExtremites(etat, bemol, s);
    int score = 60;
    if (e.traitsHaut == 1) score += 90;
    if (e.traitsBas >= 1) score += 90;
    if (e.barresGauche < 3) score += 30;
    if (e.barresDroite < 2) score += 30;
    TraitVertical* plusLong = PlusLongTrait(etat, bemol);
    if (plusLong && HauteurTrait(*plusLong) >= s / 2 && bemol.Largeur() < 1.5f * s) {
        const TraitVertical tige = TigeBemol(bemol, *plusLong, s);
        for (const TraitVertical& t : bemol.TraitsVerticaux) {
            if (t.Disponible && t.XHaut > tige.XHaut && t.YHaut <= bemol.NbLignes / 4)
                score -= 1000;
        }
        score = NoteTigeBemol(bemol, tige, s, score);
        const TraitVertical* ventre = PlusLongTrait(etat, bemol);
        if (ventre && VentreBemol(*ventre, tige, s)) {
            score += 300;
        } else {
            score = -1000;
        }
    }
    position = Point{Tronque16(bemol.Cadre.bottom - s / 2),
                     Tronque16((bemol.Cadre.left + bemol.Cadre.right) / 2)};
    return std::max(score, 0);
}

int ReconnaitPetitBemol(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (!VerifieTaille(g, 0.2f * s, 0.8f * s, 0.2f * s, 1.5f * s)) return 0;
    g.Ouvert = 0;
    const Extremites e = CompteExtremites(etat, g, s);
    int score = 60;
    if (e.traitsHaut == 1) score = 150;
    if (e.traitsBas >= 1) score += 90;
    if (e.barresGauche < 3) score += 30;
    if (e.barresDroite < 2) score += 30;
    TraitVertical* plusLong = PlusLongTrait(etat, g);
    if (plusLong) {
        const TraitVertical tige = TigeBemol(g, *plusLong, s);
        score = NoteTigeBemol(g, tige, s, score);
        const TraitVertical* ventre = PlusLongTrait(etat, g);
        if (!ventre || VentreBemol(*ventre, tige, s)) {
            score += 300;
        } else {
            score = -1000;
        }
    }
    position =
        Point{Tronque16(g.Cadre.bottom - s / 2), Tronque16((g.Cadre.left + g.Cadre.right) / 2)};
    return score;
}

namespace {

// The pieces of a dot that line removal may have cut: the components meeting
// the rectangle that are no larger than a dot. A head or a chord beside the
// dot is no piece of it.
Graphe PiecesPointe(EtatPage& etat, const Rect& rect, int limite) {
    Graphe boite;
    boite.Etiquette = Etiquette('P', 'o', 'i', 'n');
    for (const Graphe& c : etat.Graphes) {
        if (!RectsSeCoupent(c.Cadre, rect) || c.Largeur() > limite ||
            c.Cadre.bottom - c.Cadre.top > limite)
            continue;
        boite = FusionneDeux(boite, c);
    }
    return boite;
}

}  // namespace

int ReconnaitPointe(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (!g.Ouvert) return 0;
    g.Ouvert = 0;
    const int limite = static_cast<int>(0.6f * s);
    const int plancher = static_cast<int>(0.22f * s);
    const Rect rect{Tronque16(g.Cadre.top - 0.2f * s), Tronque16(g.Cadre.left - 0.1f * s),
                    Tronque16(g.Cadre.top + 0.5f * s), Tronque16(g.Cadre.left + 0.5f * s)};
    if (g.Largeur() > limite || g.Cadre.bottom - g.Cadre.top > limite) return 0;
    const Graphe boite = PiecesPointe(etat, rect, limite);
    if (GrapheVide(boite)) return 0;
    const int w = boite.Largeur();
    const int h = boite.Cadre.bottom - boite.Cadre.top;
    if (h <= 0 || 2 * g.Largeur() * g.NbLignes <= w * h) return 0;
    if (h < plancher || h > limite || w < plancher || w > limite || h + w >= 2 * limite) return 0;
    position = Point{Tronque16(g.Cadre.top + g.NbLignes / 2), Tronque16(g.Cadre.left + w / 2)};
    return static_cast<int>(700 - std::abs(w - h) * 500.0 / h) + 200 -
           50 * std::abs(static_cast<int>(w - 0.4f * s)) -
           50 * std::abs(static_cast<int>(h - 0.4f * s));
}
