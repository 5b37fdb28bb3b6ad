// Matchers of the accidentals and the dot. Sharps, naturals and flats are
// scored by their two strokes and by where stroke and bar ends lie.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "symbols/matcher_tools.h"
#include "symbols/matchers.h"
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

// How well a blob w wide and h high scores as a dot: round, about 0.4
// interline across.
int ScoreRond(int w, int h, float s) {
    return static_cast<int>(700 - std::abs(w - h) * 500.0 / h) + 200 -
           50 * std::abs(static_cast<int>(w - 0.4f * s)) -
           50 * std::abs(static_cast<int>(h - 0.4f * s));
}

// A dot touched by a slur or tie joins its component: a long slur over a
// phrase often runs through the dots of its dotted notes. The curve is a
// stroke about a fifth of an interline thick; a dot on it makes a short span
// of thick columns, the stroke going on thin on both sides. In each column
// the longest vertical run is what counts: the dot with the stroke through
// or beside it. The spans round and dense enough to be dots, left to right.
struct PointeSurTrait {
    int colonne = 0, ligne = 0;  // centre, band coordinates
    int largeur = 0, hauteur = 0;
};

// The median of the columns' run lengths from `debut` to `fin`, those in
// the component and with ink: the stroke's thickness there.
int EpaisseurTrait(const std::vector<int>& longueur, int debut, int fin) {
    std::vector<int> v;
    for (int k = std::max(0, debut); k <= fin && k < static_cast<int>(longueur.size()); ++k)
        if (longueur[k] > 0) v.push_back(longueur[k]);
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

std::vector<PointeSurTrait> PointesSurTrait(const Graphe& g, float s) {
    std::vector<PointeSurTrait> pointes;
    const int largeur = g.Largeur();
    const int hauteur = static_cast<int>(g.Lignes.size());
    if (largeur < kLargeurTraitPointe * s || hauteur == 0) return pointes;
    std::vector<uint8_t> encre(static_cast<size_t>(largeur) * hauteur, 0);
    for (int r = 0; r < hauteur; ++r) {
        for (const Plage& p : g.Lignes[r]) {
            const int debut = std::max(PremierPixel(p), static_cast<int>(g.Cadre.left));
            const int fin = std::min(DernierPixel(p), g.Cadre.right - 1);
            for (int c = debut; c <= fin; ++c)
                encre[static_cast<size_t>(c - g.Cadre.left) * hauteur + r] = 1;
        }
    }
    // The longest vertical run of each column: its length and first row.
    std::vector<int> longueur(largeur, 0), haut(largeur, 0);
    for (int c = 0; c < largeur; ++c) {
        const uint8_t* colonne = &encre[static_cast<size_t>(c) * hauteur];
        for (int r = 0; r < hauteur;) {
            if (!colonne[r]) {
                ++r;
                continue;
            }
            int fin = r;
            while (fin < hauteur && colonne[fin]) ++fin;
            if (fin - r > longueur[c]) {
                longueur[c] = fin - r;
                haut[c] = r;
            }
            r = fin;
        }
    }
    const int mince = std::max(2, static_cast<int>(0.3f * s));
    for (const auto& [debut, fin] : TronconsAuDessus(longueur, mince)) {
        // The stroke goes on, thin, on both sides.
        if (debut == 0 || fin + 1 >= largeur || longueur[debut - 1] == 0 || longueur[fin + 1] == 0)
            continue;
        const int w = fin - debut + 1;
        if (w < 0.25f * s || w > 0.6f * s) continue;
        int dessus = hauteur, dessous = 0, pixels = 0;
        for (int k = debut; k <= fin; ++k) {
            dessus = std::min(dessus, haut[k]);
            dessous = std::max(dessous, haut[k] + longueur[k]);
            pixels += longueur[k];
        }
        const int h = dessous - dessus;
        if (h < 0.25f * s || h > 0.7f * s || std::abs(w - h) > 0.3f * s || 5 * pixels < 3 * w * h)
            continue;
        // Well thicker than the stroke on either side: where a slur crosses
        // a stem or what line removal left of a staff line, the stroke only
        // thickens a little.
        const int pic = *std::max_element(longueur.begin() + debut, longueur.begin() + fin + 1);
        const int d = std::max(2, static_cast<int>(0.25f * s));
        if (1.6f * EpaisseurTrait(longueur, debut - d, debut - 1) > pic ||
            1.6f * EpaisseurTrait(longueur, fin + 1, fin + d) > pic)
            continue;
        pointes.push_back(
            {g.Cadre.left + (debut + fin) / 2, g.Cadre.top + (dessus + dessous) / 2, w, h});
    }
    return pointes;
}

}  // namespace

int ReconnaitPointe(EtatPage& etat, Graphe& g, float s, Point& position) {
    if (!g.Ouvert) return 0;
    const int limite = static_cast<int>(0.6f * s);
    const int plancher = static_cast<int>(0.22f * s);
    if (g.Largeur() > limite) {
        // One dot per call, g.Courant counting those handed out.
        const std::vector<PointeSurTrait> pointes = PointesSurTrait(g, s);
        const int rang = g.Courant++;
        if (rang + 1 >= static_cast<int>(pointes.size())) g.Ouvert = 0;
        if (rang >= static_cast<int>(pointes.size())) return 0;
        const PointeSurTrait& p = pointes[rang];
        position = Point{Tronque16(p.ligne), Tronque16(p.colonne)};
        return std::max(1, ScoreRond(p.largeur, p.hauteur, s));
    }
    g.Ouvert = 0;
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
    return ScoreRond(w, h, s);
}
