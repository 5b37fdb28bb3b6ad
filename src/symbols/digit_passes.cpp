// The two digit passes: time-signature digits (one digit, or two stacked
// digits, standing on the staff) and the small tuplet digits. They visit the
// whole component table and append their candidates themselves.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers.h"
#include "symbols/profile_templates.h"
#include "symbols/profiles.h"
#include "toolbox/progress.h"

namespace {

void RouvreTout(EtatPage& etat) {
    for (Graphe& g : etat.Graphes) g.Ouvert = 1;
}

// Width of rows [debut, fin): from the leftmost run start to the rightmost end.
int LargeurLignes(const Graphe& g, int debut, int fin) {
    int gauche = 0, droite = 0;
    bool vu = false;
    for (int r = debut; r < fin; ++r) {
        for (const Plage& p : g.Lignes[r]) {
            if (!vu || PremierPixel(p) < gauche) gauche = PremierPixel(p);
            if (!vu || DernierPixel(p) + 1 > droite) droite = DernierPixel(p) + 1;
            vu = true;
        }
    }
    return vu ? droite - gauche : 0;
}

// Compares rows [debut, fin) with the ten digits and appends every digit but
// 1 that scores above 500.
void CompareChiffres(EtatPage& etat, const Graphe& chiffre, int debut, int fin, float s,
                     int numGraphe, Point position) {
    const int largeur = LargeurLignes(chiffre, debut, fin);
    for (int c = 0; c <= 9; ++c) {
        const int score = ScoreProfilGaucheDroite(chiffre, debut, fin, s, PaireChiffre(c), largeur);
        if (c == 1 || score <= 500) continue;
        AjouteCaractereProbable(etat, static_cast<int16_t>(numGraphe),
                                static_cast<uint16_t>(kCarChiffre0 + c),
                                static_cast<int16_t>(score), position);
    }
}

enum class Genre { Rien, Un, Deux };

Genre GenreChiffres(EtatPage& etat, const Graphe& m, float s) {
    const int T = static_cast<int>(LigneHaut(etat, m.Cadre.left));
    const int haut = m.Cadre.top;
    if (VerifieTaille(m, 0.5f * s, 3.5f * s, 1.5f * s, 2.5f * s) &&
        (std::abs(haut - T) < 0.5f * s ||
         std::abs(static_cast<int>(haut - (T + 2 * s))) < 0.5f * s)) {
        return Genre::Un;
    }
    if (VerifieTaille(m, 0.5f * s, 3 * s, 3.5f * s, 5 * s) && std::abs(haut - T) < 0.5f * s) {
        return Genre::Deux;
    }
    return Genre::Rien;
}

void TraiteChiffres(EtatPage& etat, const Graphe& m, float s, int numGraphe) {
    const int lignes = m.NbLignes;
    const int16_t colonne = Tronque16((m.Cadre.left + m.Cadre.right) / 2);
    const int haut = m.Cadre.top;
    switch (GenreChiffres(etat, m, s)) {
        case Genre::Rien:
            return;
        case Genre::Un:
            CompareChiffres(etat, m, 0, lignes, s, numGraphe,
                            Point{Tronque16(haut + lignes / 2), colonne});
            return;
        case Genre::Deux:
            break;
    }
    // Split at the first empty row from one interline down.
    int coupe = lignes / 2, reprise = lignes / 2;
    for (int r = static_cast<int>(s); r < lignes; ++r) {
        if (!m.Lignes[r].empty()) continue;
        coupe = r;
        reprise = r + 1;
        while (reprise < lignes && m.Lignes[reprise].empty()) ++reprise;
        break;
    }
    if (coupe > 0) {
        CompareChiffres(etat, m, 0, coupe, s, numGraphe,
                        Point{Tronque16(haut + coupe / 2), colonne});
    }
    if (reprise < lignes) {
        CompareChiffres(etat, m, reprise, lignes, s, numGraphe,
                        Point{Tronque16(haut + reprise + (lignes - reprise) / 2), colonne});
    }
}

// The lowest height of a tuplet's digit, in interlines.
constexpr float kHauteurMinPetitChiffre = 0.85f;
// The widest gap between two glyphs of one number or word, in interlines,
// and how far, in parts of the digit's height, their tops or feet lie
// apart at most.
constexpr float kEcartChiffresNombre = 0.6f;
constexpr float kAlignementChiffres = 0.1f;

// A tuplet's digit stands higher than it is wide, and higher than most of an
// interline: a wedge or a dot over a head, or a lower-case letter of the
// words, is lower or wider.
bool TailleDePetitChiffre(const Rect& cadre, float s) {
    return VerifieTaille(cadre, 0.5f * s, 1.5f * s, kHauteurMinPetitChiffre * s, 1.5f * s) &&
           cadre.Largeur() <= cadre.Hauteur();
}

// Whether another glyph stands close beside the digit, its top or its foot
// level with the digit's: the digit is one of a number of several (a 13
// over a run of thirteen notes) or a letter of a word (the o of a tempo
// mark reads as a 6), and no tuplet's number. An ornament printed before a
// number is centred on its middle, neither top nor foot level with it.
bool DansUnMot(const EtatPage& etat, const std::vector<int>& pieces, const Rect& cadre, float s) {
    const int h = cadre.Hauteur();
    const float marge = kAlignementChiffres * h;
    for (size_t j = 0; j < etat.Graphes.size(); ++j) {
        if (std::find(pieces.begin(), pieces.end(), static_cast<int>(j)) != pieces.end()) continue;
        const Rect& c = etat.Graphes[j].Cadre;
        const int ecart = std::max(c.left - cadre.right, cadre.left - c.right);
        // A capital can be wider and higher than the digit (beside an i's
        // stem), no bracket's arm is that high for its length, and a stem
        // is higher still.
        if (ecart < 0 || ecart > kEcartChiffresNombre * s || c.Largeur() > 2.5f * s ||
            c.Largeur() > 2 * c.Hauteur() || 10 * c.Hauteur() < 7 * h || c.Hauteur() > 2 * h)
            continue;
        if (std::abs(c.top - cadre.top) <= marge || std::abs(c.bottom - cadre.bottom) <= marge)
            return true;
    }
    return false;
}

// The small digit component `index` is part of: the pieces no larger than
// a digit that start within an interline below its top and two to its
// right, and the crumbs within half an interline to its left (the ball
// ending a 3's lower stroke, cut off where the stroke thins). A beam, stem
// or slur whose box covers the digit is no piece of it, nor is an ornament
// printed just before it. Empty when what is merged is no digit's size;
// its pieces are closed only when it is one.
Graphe PetitChiffre(EtatPage& etat, int index, float s) {
    const Graphe& g = etat.Graphes[index];
    const Rect rect{g.Cadre.top, Tronque16(g.Cadre.left - 0.5f * s), Tronque16(g.Cadre.top + s),
                    Tronque16(g.Cadre.left + 2 * s)};
    std::vector<int> pieces;
    Rect cadre = g.Cadre;
    for (size_t j = 0; j < etat.Graphes.size(); ++j) {
        const Graphe& autre = etat.Graphes[j];
        const float taille = autre.Cadre.left < g.Cadre.left ? 0.5f * s : 1.5f * s;
        if (static_cast<int>(j) == index ||
            (RectsSeCoupent(autre.Cadre, rect) && autre.Cadre.Largeur() <= taille &&
             autre.Cadre.Hauteur() <= taille)) {
            pieces.push_back(static_cast<int>(j));
            cadre =
                Rect{std::min(cadre.top, autre.Cadre.top), std::min(cadre.left, autre.Cadre.left),
                     std::max(cadre.bottom, autre.Cadre.bottom),
                     std::max(cadre.right, autre.Cadre.right)};
        }
    }
    Graphe m;
    m.Etiquette = Etiquette('P', 'C', 'h', 'i');
    if (!TailleDePetitChiffre(cadre, s) || DansUnMot(etat, pieces, cadre, s)) return m;
    for (int j : pieces) {
        m = FusionneDeux(m, etat.Graphes[j]);
        etat.Graphes[j].Ouvert = 0;
    }
    return m;
}

}  // namespace

bool ExtraitChiffres(EtatPage& etat, float s) {
    RouvreTout(etat);
    if (!InterligneValide(s)) return !TestAnnulation();
    for (size_t i = 0; i < etat.Graphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = etat.Graphes[i];
        // A component already taken into an earlier digit is not read again.
        if (!g.Ouvert) continue;
        const int T = static_cast<int>(LigneHaut(etat, g.Cadre.left));
        const int haut = g.Cadre.top;
        const bool surLigneHaut = std::abs(T - haut) <= 0.25f * s;
        const bool surLigneMilieu = std::abs(static_cast<int>(T + 2 * s - haut)) < 0.3f * s;
        if (!surLigneHaut && !surLigneMilieu) continue;
        const Rect rect{Tronque16(T), g.Cadre.left, Tronque16(T + 4 * s),
                        Tronque16(g.Cadre.left + 1.5f * s)};
        // Only what stands over or under the component: a bar line and the
        // note after it, or a key's accidental and the digit beside it,
        // merged side by side would be read as one wide digit.
        const Graphe m = FusionneColonne(etat, g, rect, Etiquette('C', 'h', 'i', 'f'));
        g.Ouvert = 0;
        if (!GrapheVide(m)) TraiteChiffres(etat, m, s, static_cast<int>(i));
    }
    return true;
}

bool ExtraitPetitsChiffres(EtatPage& etat, float s) {
    RouvreTout(etat);
    if (!InterligneValide(s)) return !TestAnnulation();
    for (size_t i = 0; i < etat.Graphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = etat.Graphes[i];
        if (!g.Ouvert) continue;
        const Graphe m = PetitChiffre(etat, static_cast<int>(i), s);
        g.Ouvert = 0;
        if (GrapheVide(m)) continue;
        const Point position{Tronque16(m.Cadre.top + m.NbLignes / 2),
                             Tronque16((m.Cadre.left + m.Cadre.right) / 2)};
        for (int c = 3; c <= 6; ++c) {
            const int score = ScoreProfilGaucheDroite(m, 0, m.NbLignes, s, PairePetitChiffre(c));
            if (score <= 1) continue;
            AjouteCaractereProbable(etat, static_cast<int16_t>(i), kCarPetitsChiffres[c],
                                    static_cast<int16_t>(score), position);
        }
    }
    return true;
}
