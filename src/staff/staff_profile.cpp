#include "staff/staff_profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "records/etat_page.h"

namespace {

constexpr double kHauteurPorteeMin = 2.0;  // in mean interlines
constexpr int kNbLignesCompteesMax = 12;

// Rows a group covers: from its first line down to one interline below its last.
int HauteurGroupe(const GroupeLignes& g) {
    return static_cast<int>(g.NbLignesGroupe * g.InterligneGroupe);
}

// The middle row of the rows a group covers.
int CentreGroupe(const GroupeLignes& g) {
    return static_cast<int>(g.PremiereLigne + g.NbLignesGroupe * g.InterligneGroupe / 2.0);
}

// Line groups whose middle row lies in rows [debut, fin).
int GroupesCentresDans(EtatPage& etat, int debut, int fin) {
    int nombre = 0;
    for (const GroupeLignes& g : etat.GroupesLignes) {
        const int centre = CentreGroupe(g);
        if (centre >= debut && centre < fin) ++nombre;
    }
    return nombre;
}

// What a hump needs to become a staff.
struct CritereBosse {
    int32_t seuil;
    double hauteurMin;
    int groupesMin;  // line groups centred in the hump
};

// One pass over rows [debut, fin): every hump at or above the threshold that
// ends before `fin` and meets the criterion becomes a staff, appended to
// etat.Portees.
void ParcourtBosses(EtatPage& etat, const std::vector<int32_t>& profil, int debut, int fin,
                    const CritereBosse& critere) {
    int32_t precedent = 0;
    int debutBosse = 0;
    for (int y = std::max(debut, 0); y < fin; ++y) {
        const int32_t r = profil[y];
        if (r >= critere.seuil && precedent < critere.seuil) debutBosse = y;
        if (r < critere.seuil && precedent >= critere.seuil &&
            y - debutBosse >= critere.hauteurMin &&
            (critere.groupesMin == 0 ||
             GroupesCentresDans(etat, debutBosse, y) >= critere.groupesMin)) {
            Portee p;
            p.DebutProfil = static_cast<int16_t>(debutBosse);
            p.FinProfil = static_cast<int16_t>(y);
            etat.Portees.push_back(std::move(p));
        }
        precedent = r;
    }
}

// First row where a faint staff below staff p may start: half a hump below it.
int DebutRechercheSous(const Portee& p) {
    return p.FinProfil + (p.FinProfil - p.DebutProfil) / 2;
}

// A faint staff between two staves must have line groups over at least this
// share of the page's width; otherwise the hump is text (lyrics, a title).
constexpr int kPartLargeurPorteeFaible = 8;

// A short system (the last one of a piece often stops mid-page) has lower
// humps than the full systems. When it has two staves, the upper one can miss
// the threshold while the lower one reaches it, and the look below the last
// staff starts too late for it. So faint humps are also looked for between
// the staves found, clear of them, when line groups make them staves.
void AjoutePorteesFaiblesEntrePortees(EtatPage& etat, const std::vector<int32_t>& profil,
                                      int32_t seuil, double hauteurMin) {
    const int largeur = etat.CadrePage.right - etat.CadrePage.left;
    const CritereBosse critere{seuil, hauteurMin, std::max(1, largeur / kPartLargeurPorteeFaible)};
    std::vector<std::pair<int, int>> intervalles;
    for (size_t i = 0; i + 1 < etat.Portees.size(); ++i)
        intervalles.emplace_back(DebutRechercheSous(etat.Portees[i]),
                                 etat.Portees[i + 1].DebutProfil);
    for (const auto& [debut, fin] : intervalles) ParcourtBosses(etat, profil, debut, fin, critere);
    std::stable_sort(
        etat.Portees.begin(), etat.Portees.end(),
        [](const Portee& a, const Portee& b) { return a.DebutProfil < b.DebutProfil; });
}

}  // namespace

double InterligneMoyenneGroupes(const std::vector<GroupeLignes>& groupes) {
    if (groupes.empty()) return 0.0;
    double somme = 0.0;
    for (const GroupeLignes& g : groupes) somme += g.InterligneGroupe;
    return somme / static_cast<double>(groupes.size());
}

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

void CherchePortees(EtatPage& etat, const std::vector<int32_t>& profil, int32_t seuil) {
    // Staves are made of line groups. Without any, the least height would be
    // 0 and the first rows, which no white run ever counts, would make a
    // staff of a blank page.
    if (etat.GroupesLignes.empty()) return;
    const double hauteurMin = InterligneMoyenneGroupes(etat.GroupesLignes) * kHauteurPorteeMin;
    const int hauteur = static_cast<int>(profil.size());
    ParcourtBosses(etat, profil, 0, hauteur, {seuil, hauteurMin, 0});
    if (etat.Portees.empty()) return;
    // A last staff printed lighter than the others gives a lower hump: it is
    // looked for below the last staff found, with half the threshold.
    AjoutePorteesFaiblesEntrePortees(etat, profil, seuil / 2, hauteurMin);
    ParcourtBosses(etat, profil, DebutRechercheSous(etat.Portees.back()), hauteur,
                   {seuil / 2, hauteurMin, 0});
}

void AttribueGroupes(EtatPage& etat) {
    for (Portee& p : etat.Portees) p.CadreLignes = Rect{32000, 32000, -32000, -32000};
    if (etat.Portees.empty()) return;
    for (GroupeLignes& g : etat.GroupesLignes) {
        const int centre = CentreGroupe(g);
        int meilleure = 0;
        int ecartMin = 0;
        for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
            const Portee& p = etat.Portees[i];
            const int ecart = std::abs((p.DebutProfil + p.FinProfil) / 2 - centre);
            if (i == 0 || ecart < ecartMin) {
                meilleure = i;
                ecartMin = ecart;
            }
        }
        // Groups far from every hump are letters of a title or of lyrics:
        // they would stretch the staff's line frame up to the text and pull
        // its interline towards the letters' spacing.
        const Portee& p = etat.Portees[meilleure];
        if (ecartMin > p.FinProfil - p.DebutProfil) {
            g.PorteeGroupe = -1;
            continue;
        }
        g.PorteeGroupe = static_cast<int16_t>(meilleure);
        Rect& c = etat.Portees[meilleure].CadreLignes;
        c.left = std::min(c.left, g.Colonne);
        c.right = std::max(c.right, g.Colonne);
        c.top = std::min(c.top, g.PremiereLigne);
        c.bottom =
            std::max<int16_t>(c.bottom, static_cast<int16_t>(g.PremiereLigne + HauteurGroupe(g)));
    }
}

void CompteLignesPortees(EtatPage& etat) {
    std::vector<std::array<int, kNbLignesCompteesMax>> comptes(etat.Portees.size());
    for (auto& c : comptes) c.fill(0);
    for (const GroupeLignes& g : etat.GroupesLignes) {
        if (g.NbLignesGroupe < 0 || g.NbLignesGroupe >= kNbLignesCompteesMax) continue;
        if (g.PorteeGroupe < 0 || g.PorteeGroupe >= etat.NbPorteesTrouvees()) continue;
        comptes[g.PorteeGroupe][g.NbLignesGroupe] += 1;
    }
    for (size_t i = 0; i < etat.Portees.size(); ++i) {
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
        etat.Portees[i].NbLignesPortee = static_cast<int16_t>(meilleur);
    }
}
