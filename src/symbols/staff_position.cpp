#include "symbols/staff_position.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "records/etat_page.h"
#include "staff/staff_geometry.h"

namespace {

// Interlines below this are too small to tell lines from spaces.
constexpr float kInterligneMinimum = 2.0f;
// How far past the last line found the next ledger line is looked for.
constexpr float kDebutRechercheLigne = 0.77f;
constexpr float kFinRechercheLigne = 1.5f;
// Farthest a head may lie from the last ledger line found.
constexpr float kDistanceMaximumLigne = 1.5f;
// Thickest column of a ledger line, in interlines. Ledger lines are drawn a
// little heavier than staff lines at most; a beam, half an interline thick,
// must not pass for one, or a head of the neighbouring staff under the beam
// is walked to and read as this staff's.
constexpr float kEpaisseurMaximumLigne = 0.35f;

// True when the black run through (x, y), counting only the rows strictly
// within y - s .. y + s, is more than `epaisseurMax` rows high. The count
// stops there, so a large blob costs no more than a thin line.
bool ColonneEpaisse(const VuePixels& bande, int x, int y, float s, int epaisseurMax) {
    int n = 1;
    for (int r = y - 1; r > y - s && n <= epaisseurMax && EstNoir(bande, x, r); --r) ++n;
    for (int r = y + 1; r < y + s && n <= epaisseurMax && EstNoir(bande, x, r); ++r) ++n;
    return n > epaisseurMax;
}

// Thin columns of the stroke through (x, y) on one side: to the right from
// x itself, to the left from x - 1.
int ColonnesMincesCote(const VuePixels& bande, int x, int y, float s, int sens) {
    const int largeurMax = static_cast<int>(2.4f * s);
    const int epaisseurMax = std::max(1, static_cast<int>(kEpaisseurMaximumLigne * s));
    int minces = 0;
    bool derniereEpaisse = false;
    for (int i = 0; i < largeurMax; ++i) {
        const int c = sens > 0 ? x + i : x - 1 - i;
        if (!EstNoir(bande, c, y)) break;
        derniereEpaisse = ColonneEpaisse(bande, c, y, s, epaisseurMax);
        if (!derniereEpaisse) ++minces;
    }
    // A stroke that ends in a thick blob with hardly any thin part is the
    // blob's own edge, not a line.
    if (derniereEpaisse && minces < s / 3) return 0;
    return minces;
}

// The geometry of one ledger walk.
struct Marche {
    VuePixels bande;  // none: no intact band, no line is ever seen
    int x = 0;
    float s = 0;
    int seuil = 0;  // Q: fewest thin columns that make a line
    int sens = -1;  // -1 above the staff, +1 below
    int basBande = 0;

    int Compte(int y) const { return bande.base ? LongueurLigneSupplementaire(bande, x, y, s) : 0; }
};

// The outer staff line measured at the note's column: moves the nominal
// row L to the line found within a quarter interline, and gives the row R
// from which the ledger walk starts.
void MesureLigneExterieure(const Marche& m, float& L, float& R) {
    const float q = m.s / 4;
    R = L;
    for (int d = 0; d < q; ++d) {
        if (m.Compte(static_cast<int>(L + d)) >= m.seuil) {
            int e = d;
            while (e + 1 < q && m.Compte(static_cast<int>(L + e + 1)) >= m.seuil) ++e;
            R = L + e;
            L = L + e - m.s / 8;
            return;
        }
        if (m.Compte(static_cast<int>(L - d)) >= m.seuil) {
            R = L - d + 2;
            L = L - d - m.s / 8;
            return;
        }
    }
}

// The next ledger line beyond R: the row with the most thin columns between
// 0.77 and 1.5 interlines away (rows of equal count meet in the middle).
// False when no row reaches the threshold.
bool LigneSuivante(const Marche& m, float R, float& suivante) {
    int meilleur = -1;
    float rang = 0;
    int y = static_cast<int>(R + m.sens * kDebutRechercheLigne * m.s);
    for (; std::fabs(y - R) < kFinRechercheLigne * m.s; y += m.sens) {
        if (m.sens < 0 ? y <= 0 : y >= m.basBande + m.s / 2) break;
        const int n = m.Compte(y);
        if (n > meilleur) {
            meilleur = n;
            rang = static_cast<float>(y);
        } else if (n == meilleur) {
            rang = (rang + y) / 2;
        }
    }
    if (meilleur < m.seuil) return false;
    suivante = rang;
    return true;
}

bool PositionDansPortee(float t, float s, int y, int& position) {
    if (s < kInterligneMinimum) {
        position = 2;
        return false;
    }
    const float demi = s / 2;
    if (y > t)
        position = static_cast<int>(std::floor((y - t) / demi + 0.5f));
    else
        position = -static_cast<int>(std::floor((t - y) / demi + 0.5f));
    return true;
}

bool PositionHorsPortee(EtatPage& etat, int indexPortee, int x, int y, float t, float s,
                        bool dessus, int& position) {
    const int n = etat.Portees[indexPortee].NbLignesPortee;
    Marche m;
    m.x = x;
    m.s = s;
    m.seuil = static_cast<int>(s / 4);
    m.sens = dessus ? -1 : 1;
    if (etat.PorteeImageIntacte) {
        m.bande = VueOffscreen(etat.PorteeImageIntacte);
        m.basBande = etat.PorteeImageIntacte->hauteur;
    }

    float L = dessus ? t : t + (n - 1) * s;
    float R = L;
    MesureLigneExterieure(m, L, R);
    int k = 0;
    for (;;) {
        const bool atteint = dessus ? R <= y + s / 2 : R >= y - s / 2;
        if (atteint) break;
        float suivante = 0;
        if (!LigneSuivante(m, R, suivante)) break;
        R = suivante;
        ++k;
    }

    const float l = k == 0 ? s : std::fabs(L - R) / k;
    const float moyenne = (l + s) / 2;
    const int ligne = dessus ? -k : (n - 1) + k;
    if (static_cast<int>(std::fabs(y - R)) >= kDistanceMaximumLigne * moyenne) return false;
    position = 2 * ligne;
    if (y < R - moyenne / 4) --position;
    if (y > R + moyenne / 4) ++position;
    return true;
}

}  // namespace

int LongueurLigneSupplementaire(const VuePixels& bande, int x, int y, float s) {
    return ColonnesMincesCote(bande, x, y, s, +1) + ColonnesMincesCote(bande, x, y, s, -1);
}

bool PositionPortee(EtatPage& etat, int indexPortee, int x, int y, int& position, bool lignesSupp) {
    const float t = LigneHautEn(etat, indexPortee, x);
    const float s = InterligneEn(etat, indexPortee, x);
    const int n = etat.Portees.at(indexPortee).NbLignesPortee;
    if (lignesSupp && s >= kInterligneMinimum) {
        if (y < t - 0.5f * s)
            return PositionHorsPortee(etat, indexPortee, x, y, t, s, true, position);
        if (y > t + (n - 1) * s + 0.5f * s)
            return PositionHorsPortee(etat, indexPortee, x, y, t, s, false, position);
    }
    return PositionDansPortee(t, s, y, position);
}
