#include "symbols/profiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "symbols/matcher_tools.h"

void ContoursGaucheDroite(const Graphe& g, int debut, int fin, ContourBrut& gauche,
                          ContourBrut& droite) {
    debut = std::max(debut, 0);
    fin = std::min(fin, static_cast<int>(g.Lignes.size()));
    gauche.assign(std::max(0, fin - debut), std::nullopt);
    droite.assign(gauche.size(), std::nullopt);
    for (int r = debut; r < fin; ++r) {
        for (const Plage& p : g.Lignes[r]) {
            auto& gch = gauche[r - debut];
            auto& drt = droite[r - debut];
            if (!gch || DebutPlage(p) < *gch) gch = DebutPlage(p);
            if (!drt || FinPlage(p) > *drt) drt = FinPlage(p);
        }
    }
}

void ContoursHautBas(const Graphe& g, ContourBrut& haut, ContourBrut& bas) {
    const int largeur = std::max(0, g.Largeur());
    haut.assign(largeur, std::nullopt);
    bas.assign(largeur, std::nullopt);
    for (size_t r = 0; r < g.Lignes.size(); ++r) {
        for (const Plage& p : g.Lignes[r]) {
            const int debut = std::max(PremierPixel(p) - g.Cadre.left, 0);
            const int fin = std::min(DernierPixel(p) - g.Cadre.left, largeur - 1);
            for (int c = debut; c <= fin; ++c) {
                if (!haut[c]) haut[c] = static_cast<int>(r);
                bas[c] = static_cast<int>(r);
            }
        }
    }
}

std::vector<int> NormaliseContour(const ContourBrut& brut, bool depuisMin) {
    std::optional<int> extreme;
    for (const auto& v : brut) {
        if (v && (!extreme || (depuisMin ? *v < *extreme : *v > *extreme))) extreme = v;
    }
    std::vector<int> sortie(brut.size(), 0);
    if (!extreme) return sortie;
    std::optional<int> precedent;
    for (size_t i = 0; i < brut.size(); ++i) {
        if (brut[i]) precedent = depuisMin ? *brut[i] - *extreme : *extreme - *brut[i];
        if (precedent) sortie[i] = *precedent;
    }
    // Leading rows without a value take the first valued row's value.
    size_t premier = 0;
    while (!brut[premier]) ++premier;
    for (size_t i = 0; i < premier; ++i) sortie[i] = sortie[premier];
    return sortie;
}

std::vector<double> Reechantillonne(const std::vector<int>& contour, int b, int longueur, int n) {
    std::vector<double> valeurs(n, 0.0);
    if (longueur <= 0 || b < 0 || b + longueur > static_cast<int>(contour.size())) return valeurs;
    const int dernier = b + longueur - 1;
    const double echelle = static_cast<double>(n) / longueur;
    for (int i = 0; i < n; ++i) {
        const double position = b + static_cast<double>(i) * longueur / n;
        const int j = static_cast<int>(std::floor(position));
        const double fraction = position - j;
        const int suivant = std::min(j + 1, dernier);
        valeurs[i] = (contour[j] * (1 - fraction) + contour[suivant] * fraction) * echelle;
    }
    return valeurs;
}

int CompareProfil(const std::vector<int>& contour, float s, const ModeleProfil& modele,
                  int etendue) {
    const int rangs = static_cast<int>(contour.size());
    const int n = modele.NbEchantillons;
    const int k = static_cast<int>(s / 4);
    if (s < 4 || k < 1 || n <= 0 || etendue <= 0 || rangs <= 0) return 0;
    if (static_cast<int>(modele.Echantillons.size()) < n ||
        static_cast<int>(modele.Poids.size()) < n) {
        return 0;
    }
    double meilleure = -1;
    double facteur = 0;
    for (int a = 0; a < k; ++a) {
        for (int b = 0; b < k; ++b) {
            const int longueur = rangs - a - b;
            if (longueur <= 0) continue;
            const std::vector<double> valeurs = Reechantillonne(contour, b, longueur, n);
            double somme = 0;
            for (int i = 0; i < n; ++i) {
                somme += std::fabs(valeurs[i] - modele.Echantillons[i]) * modele.Poids[i] / 100.0;
            }
            if (meilleure < 0 || somme < meilleure) meilleure = somme;
            facteur = static_cast<double>(n) / longueur;
        }
    }
    if (meilleure < 0) return 0;
    const double score = 500 - meilleure * 2000 / (n * facteur * etendue);
    return std::max(0, static_cast<int>(score));
}

int ScoreProfilGaucheDroite(const Graphe& g, int debut, int fin, float s, const PaireModeles& paire,
                            int etendue) {
    if (!paire.premier || !paire.second) return 0;
    ContourBrut gauche, droite;
    ContoursGaucheDroite(g, debut, fin, gauche, droite);
    const int largeur = etendue >= 0 ? etendue : g.Largeur();
    return CompareProfil(NormaliseContour(gauche, true), s, *paire.premier, largeur) +
           CompareProfil(NormaliseContour(droite, false), s, *paire.second, largeur);
}

int ScoreProfilHautBas(const Graphe& g, float s, const PaireModeles& paire) {
    if (!paire.premier || !paire.second) return 0;
    ContourBrut haut, bas;
    ContoursHautBas(g, haut, bas);
    const int hauteur = g.NbLignes;
    return CompareProfil(NormaliseContour(haut, true), s, *paire.premier, hauteur) +
           CompareProfil(NormaliseContour(bas, false), s, *paire.second, hauteur);
}
