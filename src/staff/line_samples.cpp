#include "staff/line_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "records/etat_page.h"

namespace {

bool EstValide(const EchantillonLignes& e) {
    return e.Y >= 0.0f;
}

void Invalide(EchantillonLignes& e) {
    e.Chaine = 0;
    e.Y = -1.0f;
    e.InterligneLocal = 0.0f;
}

// The straight line through (x1, v1) and (x2, v2), at x.
double Droite(double x1, double v1, double x2, double v2, double x) {
    if (x2 == x1) return v1;
    return v1 + (v2 - v1) * (x - x1) / (x2 - x1);
}

double DroiteY(const EchantillonLignes& u, const EchantillonLignes& v, double x) {
    return Droite(u.X, u.Y, v.X, v.Y, x);
}

double DroiteInterligne(const EchantillonLignes& u, const EchantillonLignes& v, double x) {
    return Droite(u.X, u.InterligneLocal, v.X, v.InterligneLocal, x);
}

// Section k of a staff: the groups of the staff's line count and near its
// interline, in the section's columns, vote for the top line's row.
EchantillonLignes MesureSection(const Portee& p, const std::vector<const GroupeLignes*>& groupes,
                                int k) {
    const int w = p.LargeurSection;
    EchantillonLignes e;
    e.X = static_cast<float>(w / 2 + k * w);
    std::vector<int> lignes;
    double sommeInterlignes = 0.0;
    for (const GroupeLignes* g : groupes) {
        if (g->Colonne < k * w || g->Colonne >= (k + 1) * w) continue;
        if (g->NbLignesGroupe != p.NbLignesPortee) continue;
        if (std::fabs(p.Interligne - g->InterligneGroupe) >=
            kToleranceInterligneSection * p.Interligne)
            continue;
        lignes.push_back(g->PremiereLigne);
        sommeInterlignes += g->InterligneGroupe;
    }
    const int c = static_cast<int>(lignes.size());
    std::sort(lignes.begin(), lignes.end());
    // The most frequent row, the topmost one on a tie.
    int pMax = -1, hMax = 0;
    auto compte = [&](int row) {
        return static_cast<int>(std::upper_bound(lignes.begin(), lignes.end(), row) -
                                std::lower_bound(lignes.begin(), lignes.end(), row));
    };
    for (size_t i = 0; i < lignes.size(); i += compte(lignes[i])) {
        const int h = compte(lignes[i]);
        if (h > hMax) {
            pMax = lignes[i];
            hMax = h;
        }
    }
    if (pMax < 1 || c < kGroupesMinSection) {
        e.Y = -1.0f;
        e.InterligneLocal = 0.0f;
        return e;
    }
    const double h0 = compte(pMax - 1), h1 = hMax, h2 = compte(pMax + 1);
    e.Y = static_cast<float>((h0 * (pMax - 1) + h1 * pMax + h2 * (pMax + 1)) / (h0 + h1 + h2));
    e.InterligneLocal = static_cast<float>(sommeInterlignes / c);
    return e;
}

// The staff's interline from the groups that show all its lines. Shorter
// groups are often a line, a slur or tie midway through the gap and the next
// line, spaced half an interline; they would pull the mean down. Without any
// full group, every group counts.
float InterligneGroupesComplets(const Portee& p, const std::vector<const GroupeLignes*>& groupes) {
    double somme = 0.0, sommeComplets = 0.0;
    int complets = 0;
    for (const GroupeLignes* g : groupes) {
        somme += g->InterligneGroupe;
        if (g->NbLignesGroupe != p.NbLignesPortee) continue;
        sommeComplets += g->InterligneGroupe;
        ++complets;
    }
    if (complets > 0) return static_cast<float>(sommeComplets / complets);
    return groupes.empty() ? 0.0f : static_cast<float>(somme / groupes.size());
}

void EchantillonnePortee(Portee& p, const std::vector<const GroupeLignes*>& groupes,
                         int largeurPage) {
    p.Interligne = InterligneGroupesComplets(p, groupes);
    p.Echantillons.clear();
    p.LargeurSection = static_cast<int16_t>(p.NbLignesPortee * p.Interligne);
    const int w = p.LargeurSection;
    if (w <= 0) return;
    for (int k = 0; k * w < largeurPage; ++k)
        p.Echantillons.push_back(MesureSection(p, groupes, k));
}

// Step 1 of the cleaning: consecutive valid samples less than half an
// interline apart share a chain label. Returns the last label.
int EtiquetteChaines(std::vector<EchantillonLignes>& e, float interligne) {
    int label = 0;
    for (size_t k = 0; k < e.size(); ++k) {
        if (!EstValide(e[k])) {
            e[k].Chaine = 0;
            continue;
        }
        const bool precedentValide = k > 0 && EstValide(e[k - 1]);
        const int saut = precedentValide ? std::abs(static_cast<int>(e[k].Y - e[k - 1].Y))
                                         : static_cast<int>(interligne + 1.0);
        if (saut > interligne / 2.0) ++label;
        e[k].Chaine = static_cast<int16_t>(label);
    }
    return label;
}

void FusionneChaines(std::vector<EchantillonLignes>& e, int nbChaines, float interligne) {
    std::vector<int> vers(nbChaines + 1);
    for (int c = 0; c <= nbChaines; ++c) vers[c] = c;
    for (int a = 1; a <= nbChaines; ++a)
        for (int b = a + 1; b <= nbChaines; ++b)
            if (ChainesCompatibles(e, a, b, interligne)) vers[b] = a;
    // From the last label down, so that a chain merged into one that is
    // itself merged ends with the lowest label.
    for (int c = nbChaines; c >= 1; --c)
        for (EchantillonLignes& s : e)
            if (s.Chaine == c) s.Chaine = static_cast<int16_t>(vers[c]);
}

void GardeChainePrincipale(std::vector<EchantillonLignes>& e, int nbChaines) {
    std::vector<int> taille(nbChaines + 1, 0);
    for (const EchantillonLignes& s : e) taille[s.Chaine] += 1;
    int principale = 0;
    for (int c = 1; c <= nbChaines; ++c)
        if (principale == 0 || taille[c] > taille[principale]) principale = c;
    for (EchantillonLignes& s : e)
        if (s.Chaine != principale) Invalide(s);
}

// Step 5: each sample is averaged with the line through its neighbours, the
// left neighbour already smoothed.
void LisseEchantillons(std::vector<EchantillonLignes>& e) {
    for (size_t k = 1; k + 1 < e.size(); ++k) {
        const double xk = std::trunc(e[k].X);
        const double y = std::trunc(DroiteY(e[k - 1], e[k + 1], xk));
        e[k].Y = static_cast<float>((y + e[k].Y) / 2.0);
        e[k].InterligneLocal = static_cast<float>(
            (DroiteInterligne(e[k - 1], e[k + 1], xk) + e[k].InterligneLocal) / 2.0);
    }
}

int ValidePrecedent(const std::vector<bool>& valide, int depuis) {
    for (int k = depuis; k >= 0; --k)
        if (valide[k]) return k;
    return -1;
}

int ValideSuivant(const std::vector<bool>& valide, int depuis) {
    for (int k = std::max(depuis, 0); k < static_cast<int>(valide.size()); ++k)
        if (valide[k]) return k;
    return -1;
}

// Sample k from the line through u and v.
void Interpole(EchantillonLignes& s, const EchantillonLignes& u, const EchantillonLignes& v) {
    const double xk = std::trunc(s.X);
    s.Y = static_cast<float>(std::trunc(DroiteY(u, v, xk)));
    s.InterligneLocal = static_cast<float>(std::max(0.0, DroiteInterligne(u, v, xk)));
}

void Copie(EchantillonLignes& s, const EchantillonLignes& source) {
    s.Y = std::trunc(source.Y);
    s.InterligneLocal = source.InterligneLocal;
}

}  // namespace

void EchantillonneLignes(EtatPage& etat, int largeurPage) {
    std::vector<std::vector<const GroupeLignes*>> parPortee(etat.Portees.size());
    for (const GroupeLignes& g : etat.GroupesLignes)
        if (g.PorteeGroupe >= 0 && g.PorteeGroupe < etat.NbPorteesTrouvees())
            parPortee[g.PorteeGroupe].push_back(&g);
    for (size_t i = 0; i < etat.Portees.size(); ++i)
        EchantillonnePortee(etat.Portees[i], parPortee[i], largeurPage);
}

void NettoieEchantillons(EtatPage& etat) {
    for (Portee& p : etat.Portees)
        if (!p.Echantillons.empty()) NettoieEchantillonsPortee(p.Echantillons, p.Interligne);
}

void NettoieEchantillonsPortee(std::vector<EchantillonLignes>& e, float interligne) {
    const int nbChaines = EtiquetteChaines(e, interligne);
    FusionneChaines(e, nbChaines, interligne);
    GardeChainePrincipale(e, nbChaines);
    const bool rempli = Comble(e);
    if (e.size() >= 3 && rempli) LisseEchantillons(e);
}

bool ChainesCompatibles(const std::vector<EchantillonLignes>& e, int a, int b, float interligne) {
    const int n = static_cast<int>(e.size());
    int premierA = 0;
    while (premierA < n && e[premierA].Chaine != a) ++premierA;
    if (premierA == n) return false;
    int finA = premierA;
    while (finA + 1 < n && e[finA + 1].Chaine == a) ++finA;
    if (finA < 1 || e[finA - 1].Chaine != a) return false;
    int debutB = 0;
    while (debutB < n && e[debutB].Chaine != b) ++debutB;
    if (debutB == n) return false;

    const double xm = std::trunc((static_cast<double>(e[finA].X) + e[debutB].X) / 2.0);
    const int ya = static_cast<int>(DroiteY(e[finA - 1], e[finA], xm));
    int yb = 0;
    if (debutB + 1 < n && e[debutB + 1].Chaine == b)
        yb = static_cast<int>(DroiteY(e[debutB], e[debutB + 1], xm));
    else if (b == a + 1)
        yb = static_cast<int>(e[debutB].Y);
    else
        return false;
    return std::abs(ya - yb) <= interligne / 2.0;
}

bool Comble(std::vector<EchantillonLignes>& e) {
    // Only measured samples are filled from. Filled ones are whole rows, and
    // extrapolating from one of them and a measured neighbour would tilt the
    // line by up to a row per section, further at every step.
    const int n = static_cast<int>(e.size());
    std::vector<bool> mesure(n);
    for (int k = 0; k < n; ++k) mesure[k] = EstValide(e[k]);
    if (std::find(mesure.begin(), mesure.end(), true) == mesure.end()) return false;
    for (int k = 0; k < n; ++k) {
        if (mesure[k]) continue;
        const int a = ValidePrecedent(mesure, k - 1);
        const int b = ValideSuivant(mesure, k + 1);
        if (a < 0) {
            const int b2 = ValideSuivant(mesure, b + 1);
            if (b2 >= 0)
                Interpole(e[k], e[b], e[b2]);
            else
                Copie(e[k], e[b]);
        } else if (b < 0) {
            const int a2 = ValidePrecedent(mesure, a - 1);
            if (a2 >= 0)
                Interpole(e[k], e[a2], e[a]);
            else
                Copie(e[k], e[a]);
        } else {
            Interpole(e[k], e[a], e[b]);
        }
    }
    return true;
}
