#include "staff/staff_profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "recognition/etat_page.h"

namespace {

constexpr double kHauteurPorteeMin = 2.0;  // in mean interlines
constexpr int kNbLignesCompteesMax = 12;

double InterligneMoyenneGroupes(const std::vector<GroupeLignes>& groupes) {
    if (groupes.empty()) return 0.0;
    double somme = 0.0;
    for (const GroupeLignes& g : groupes) somme += g.InterligneGroupe;
    return somme / static_cast<double>(groupes.size());
}

// Rows a group covers: from its first line down to one interline below its last.
int HauteurGroupe(const GroupeLignes& g) {
    return static_cast<int>(g.NbLignesGroupe * g.InterligneGroupe);
}

// One pass over the rows from `debut`: every hump at or above the threshold
// that ends before the last row and is tall enough becomes a staff.
void ParcourtBosses(const std::vector<int32_t>& profil, int debut, int32_t seuil,
                    double hauteurMin) {
    const int hauteur = static_cast<int>(profil.size());
    int32_t precedent = 0;
    int debutBosse = 0;
    for (int y = std::max(debut, 0); y < hauteur; ++y) {
        const int32_t r = profil[y];
        if (r >= seuil && precedent < seuil) debutBosse = y;
        if (r < seuil && precedent >= seuil && y - debutBosse >= hauteurMin) {
            Portee p;
            p.DebutProfil = static_cast<int16_t>(debutBosse);
            p.FinProfil = static_cast<int16_t>(y);
            Etat.Portees.push_back(std::move(p));
        }
        precedent = r;
    }
}

}  // namespace

std::vector<int32_t> ProfilLignes(const std::vector<int32_t>& lignesBlanches,
                                  const std::vector<GroupeLignes>& groupes) {
    const int hauteur = static_cast<int>(lignesBlanches.size());
    int32_t maximum = 0;
    for (int y = 1; y < hauteur; ++y) maximum = std::max(maximum, lignesBlanches[y]);

    // Group coverage as a difference array, summed row by row below.
    std::vector<int32_t> variation(hauteur + 1, 0);
    for (const GroupeLignes& g : groupes) {
        const int debut = std::max<int>(g.PremiereLigne, 0);
        const int fin = std::min(g.PremiereLigne + HauteurGroupe(g), hauteur);
        if (debut >= fin) continue;
        variation[debut] += 1;
        variation[fin] -= 1;
    }
    std::vector<int32_t> profil(hauteur);
    int32_t couverture = 0;
    for (int y = 0; y < hauteur; ++y) {
        couverture += variation[y];
        profil[y] = maximum - lignesBlanches[y] + couverture;
    }
    return profil;
}

void LisseProfil(std::vector<int32_t>& profil) {
    static constexpr std::array<int, 7> kPoids = {1, 2, 3, 4, 3, 2, 1};
    const int hauteur = static_cast<int>(profil.size());
    std::vector<int32_t> lisse(hauteur);
    for (int y = 0; y < hauteur; ++y) {
        int64_t somme = 0;
        for (int k = -3; k <= 3; ++k) {
            const int r = y + k;
            if (r >= 0 && r < hauteur) somme += int64_t{kPoids[k + 3]} * profil[r];
        }
        lisse[y] = static_cast<int32_t>(somme / 16);
    }
    profil = std::move(lisse);
}

int32_t SeuilProfil(const std::vector<int32_t>& profil, double facteur) {
    int64_t somme = 0;
    int64_t nombre = 0;
    for (int32_t r : profil) {
        if (r <= 0) continue;
        somme += r;
        ++nombre;
    }
    if (nombre == 0) return 0;
    return static_cast<int32_t>(static_cast<double>(somme) / static_cast<double>(nombre) * facteur);
}

int32_t SeuilPageNette(const std::vector<int32_t>& profil) {
    if (profil.empty()) return 0;
    return *std::max_element(profil.begin(), profil.end()) / 2;
}

void CherchePortees(const std::vector<int32_t>& profil, int32_t seuil) {
    // Staves are made of line groups. Without any, the least height would be
    // 0 and the first rows, which no white run ever counts, would make a
    // staff of a blank page.
    if (Etat.GroupesLignes.empty()) return;
    const double hauteurMin = InterligneMoyenneGroupes(Etat.GroupesLignes) * kHauteurPorteeMin;
    ParcourtBosses(profil, 0, seuil, hauteurMin);
    if (Etat.Portees.empty()) return;
    // A last staff printed lighter than the others gives a lower hump: it is
    // looked for below the last staff found, with half the threshold.
    const Portee& derniere = Etat.Portees.back();
    const int debut = derniere.FinProfil + (derniere.FinProfil - derniere.DebutProfil) / 2;
    ParcourtBosses(profil, debut, seuil / 2, hauteurMin);
}

void AttribueGroupes() {
    for (Portee& p : Etat.Portees) p.CadreLignes = Rect{32000, 32000, -32000, -32000};
    if (Etat.Portees.empty()) return;
    for (GroupeLignes& g : Etat.GroupesLignes) {
        const int centre =
            static_cast<int>(g.PremiereLigne + g.NbLignesGroupe * g.InterligneGroupe / 2.0);
        int meilleure = 0;
        int ecartMin = 0;
        for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
            const Portee& p = Etat.Portees[i];
            const int ecart = std::abs((p.DebutProfil + p.FinProfil) / 2 - centre);
            if (i == 0 || ecart < ecartMin) {
                meilleure = i;
                ecartMin = ecart;
            }
        }
        g.PorteeGroupe = static_cast<int16_t>(meilleure);
        Rect& c = Etat.Portees[meilleure].CadreLignes;
        c.left = std::min(c.left, g.Colonne);
        c.right = std::max(c.right, g.Colonne);
        c.top = std::min(c.top, g.PremiereLigne);
        c.bottom = std::max<int16_t>(c.bottom,
                                     static_cast<int16_t>(g.PremiereLigne + HauteurGroupe(g)));
    }
}

void CompteLignesPortees() {
    std::vector<std::array<int, kNbLignesCompteesMax>> comptes(Etat.Portees.size());
    for (auto& c : comptes) c.fill(0);
    for (const GroupeLignes& g : Etat.GroupesLignes) {
        if (g.NbLignesGroupe < 0 || g.NbLignesGroupe >= kNbLignesCompteesMax) continue;
        if (g.PorteeGroupe < 0 || g.PorteeGroupe >= Etat.NbPorteesTrouvees()) continue;
        comptes[g.PorteeGroupe][g.NbLignesGroupe] += 1;
    }
    for (size_t i = 0; i < Etat.Portees.size(); ++i) {
        auto& c = comptes[i];
        // Five-line staves are the rule and six-line ones (tablatures) must
        // win against the five-line groups they also contain.
        c[5] *= 2;
        c[6] *= 3;
        int meilleur = 5;
        int compteMax = 0;
        for (int n = 0; n < kNbLignesCompteesMax; ++n) {
            if (c[n] > compteMax) {
                meilleur = n;
                compteMax = c[n];
            }
        }
        Etat.Portees[i].NbLignesPortee = static_cast<int16_t>(meilleur);
    }
}
