// The row-sequence grammar: a clef is read from top to bottom as a sequence
// of bands of rows with a given number of runs, each band within a length
// range. An entry may be skipped at the cost of its weight; the score is the
// weight kept by the best reading.
#include <algorithm>
#include <cstdint>

#include "symbols/matchers_internal.h"

const EntreeSequence GrammaireCleSol[] = {
    {0, 1, 100, 10, 100},  {0, 2, 100, 100, 300}, {0, 1, 100, 70, 200}, {0, 2, 100, 1, 100},
    {1, 2, 300, 100, 400}, {0, 1, 100, 10, 200},  {2, 0, 0, 0, 0},
};

const EntreeSequence GrammaireCleFa[] = {
    {0, 2, 100, 100, 150},
    {0, 1, 100, 150, 350},
    {2, 0, 0, 0, 0},
};

namespace {

bool LignePasse(const Graphe& g, int r, const EntreeSequence& e) {
    const int plages = static_cast<int>(g.Lignes[r].size());
    if (e.Test < 0) return plages < e.Plages;
    if (e.Test == 0) return plages == e.Plages;
    return plages > e.Plages;
}

struct Recherche {
    const Graphe& g;
    int interligne;  // trunc(s)
    const EntreeSequence* grammaire;
    int meilleur = 0;

    int Cherche(int debut, int entree, int budget) {
        if (budget < meilleur) return 0;
        const EntreeSequence& e = grammaire[entree];
        if (e.Test == 2) {
            meilleur = std::max(meilleur, budget);
            return budget;
        }
        const int lignes = static_cast<int>(g.Lignes.size());
        const int minimum = e.LongueurMin * interligne / 100;
        // The first band of passing rows long enough, from `debut` down.
        int premiere = -1;
        int fin = -1;
        int r = debut;
        while (r < lignes) {
            if (!LignePasse(g, r, e)) {
                ++r;
                continue;
            }
            int bout = r;
            while (bout < lignes && LignePasse(g, bout, e)) ++bout;
            if (bout - r >= minimum) {
                premiere = r;
                fin = bout < lignes ? bout + 1 : lignes;
                break;
            }
            r = bout;
        }
        int resultat = 0;
        if (premiere >= 0 && fin - premiere <= e.LongueurMax * interligne / 100) {
            resultat = Cherche(fin, entree + 1, budget);
        }
        return std::max(resultat, Cherche(debut, entree + 1, budget - e.Poids));
    }
};

}  // namespace

int ScoreSequenceLignes(const Graphe& g, float s, const EntreeSequence* grammaire, int echelle) {
    int poids = 0;
    for (const EntreeSequence* e = grammaire; e->Test != 2; ++e) poids += e->Poids;
    if (poids == 0) return 0;
    Recherche recherche{g, static_cast<int>(s), grammaire};
    const int m = recherche.Cherche(0, 0, poids);
    return m * echelle / poids;
}
