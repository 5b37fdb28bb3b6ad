// The two digit passes: time-signature digits (one digit, or two stacked
// digits, standing on the staff) and the small tuplet digits. They visit the
// whole component table and append their candidates themselves.
#include <cmath>
#include <cstdlib>

#include "records/catalogue.h"
#include "symbols/matcher_tools.h"
#include "symbols/matchers.h"
#include "symbols/profile_templates.h"
#include "symbols/profiles.h"
#include "toolbox/progress.h"

namespace {

void RouvreTout() {
    for (Graphe& g : TableGraphes) g.Ouvert = 1;
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
void CompareChiffres(const Graphe& chiffre, int debut, int fin, float s, int numGraphe,
                     Point position) {
    const int largeur = LargeurLignes(chiffre, debut, fin);
    for (int c = 0; c <= 9; ++c) {
        const int score = ScoreProfilGaucheDroite(chiffre, debut, fin, s, PaireChiffre(c), largeur);
        if (c == 1 || score <= 500) continue;
        AjouteCaractereProbable(static_cast<int16_t>(numGraphe),
                                static_cast<uint16_t>(kCarChiffre0 + c),
                                static_cast<int16_t>(score), position);
    }
}

enum class Genre { Rien, Un, Deux };

Genre GenreChiffres(const Graphe& m, float s) {
    const int T = static_cast<int>(LigneHaut(m.Cadre.left));
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

void TraiteChiffres(const Graphe& m, float s, int numGraphe) {
    const int lignes = m.NbLignes;
    const int16_t colonne = Tronque16((m.Cadre.left + m.Cadre.right) / 2);
    const int haut = m.Cadre.top;
    switch (GenreChiffres(m, s)) {
        case Genre::Rien:
            return;
        case Genre::Un:
            CompareChiffres(m, 0, lignes, s, numGraphe,
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
        CompareChiffres(m, 0, coupe, s, numGraphe, Point{Tronque16(haut + coupe / 2), colonne});
    }
    if (reprise < lignes) {
        CompareChiffres(m, reprise, lignes, s, numGraphe,
                        Point{Tronque16(haut + reprise + (lignes - reprise) / 2), colonne});
    }
}

}  // namespace

bool ExtraitChiffres(float s) {
    RouvreTout();
    if (!InterligneValide(s)) return !TestAnnulation();
    for (size_t i = 0; i < TableGraphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = TableGraphes[i];
        // A component already taken into an earlier digit is not read again.
        if (!g.Ouvert) continue;
        const int T = static_cast<int>(LigneHaut(g.Cadre.left));
        const int haut = g.Cadre.top;
        const bool surLigneHaut = std::abs(T - haut) <= 0.25f * s;
        const bool surLigneMilieu = std::abs(static_cast<int>(T + 2 * s - haut)) < 0.3f * s;
        if (!surLigneHaut && !surLigneMilieu) continue;
        const Rect rect{Tronque16(T), g.Cadre.left, Tronque16(T + 4 * s),
                        Tronque16(g.Cadre.left + 1.5f * s)};
        // Only what stands over or under the component: a bar line and the
        // note after it, or a key's accidental and the digit beside it,
        // merged side by side would be read as one wide digit.
        const Graphe m = FusionneColonne(g, rect, Etiquette('C', 'h', 'i', 'f'));
        g.Ouvert = 0;
        if (!GrapheVide(m)) TraiteChiffres(m, s, static_cast<int>(i));
    }
    return true;
}

bool ExtraitPetitsChiffres(float s) {
    RouvreTout();
    if (!InterligneValide(s)) return !TestAnnulation();
    for (size_t i = 0; i < TableGraphes.size(); ++i) {
        if (TestAnnulation()) return false;
        Graphe& g = TableGraphes[i];
        if (!g.Ouvert) continue;
        const Rect rect{g.Cadre.top, g.Cadre.left, Tronque16(g.Cadre.top + s),
                        Tronque16(g.Cadre.left + 2 * s)};
        const Graphe m = FusionneGraphes(rect, true, Etiquette('P', 'C', 'h', 'i'));
        g.Ouvert = 0;
        if (GrapheVide(m) || !VerifieTaille(m, 0.5f * s, 1.5f * s, 0.5f * s, 1.5f * s)) continue;
        const Point position{Tronque16(m.Cadre.top + m.NbLignes / 2),
                             Tronque16((m.Cadre.left + m.Cadre.right) / 2)};
        for (int c = 3; c <= 6; ++c) {
            const int score = ScoreProfilGaucheDroite(m, 0, m.NbLignes, s, PairePetitChiffre(c));
            if (score <= 1) continue;
            AjouteCaractereProbable(static_cast<int16_t>(i), kCarPetitsChiffres[c],
                                    static_cast<int16_t>(score), position);
        }
    }
    return true;
}
