// Profile matching: a component's contour (its left and right edge row by
// row, or its upper and lower edge column by column) compared with a stored
// template after resampling to the template's length.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "symbols/graphe.h"

// A contour template: n samples, their largest value, and a weight per
// sample (100 = normal).
struct ModeleProfil {
    int16_t NbEchantillons = 0;
    int16_t Maximum = 0;
    std::vector<int16_t> Echantillons;
    std::vector<int16_t> Poids;
};

// The two templates of a symbol (left and right, or upper and lower).
struct PaireModeles {
    const ModeleProfil* premier = nullptr;
    const ModeleProfil* second = nullptr;
};

// Raw contour: one optional value per row (or column).
using ContourBrut = std::vector<std::optional<int>>;

// Left and right contours of rows [debut, fin) of a component: the smallest
// run start and the largest run end of each row (centre -/+ length / 2).
void ContoursGaucheDroite(const Graphe& g, int debut, int fin, ContourBrut& gauche,
                          ContourBrut& droite);
// Upper and lower contours per column of the component: the first and the
// last row a run covers.
void ContoursHautBas(const Graphe& g, ContourBrut& haut, ContourBrut& bas);

// Normalises a contour: distances from its smallest value (`depuisMin`) or
// to its largest value; rows without a value take the previous row's value,
// leading ones the first following value, and all 0 when none has one.
std::vector<int> NormaliseContour(const ContourBrut& brut, bool depuisMin);

// Values of contour rows [b, b + longueur) at n points: point i at the
// fractional row b + i * longueur / n, interpolated linearly, scaled by
// n / longueur so that every length compares with the template.
std::vector<double> Reechantillonne(const std::vector<int>& contour, int b, int longueur, int n);

// Compares a normalised contour with a template over the trims allowed by
// the interline; 0..500. `etendue` is the span the contour values are
// measured across (the component's width for left/right contours).
int CompareProfil(const std::vector<int>& contour, float s, const ModeleProfil& modele,
                  int etendue);

// Left score + right score of rows [debut, fin) against a pair; 0..1000.
// The span is the component's width unless `etendue` is given.
int ScoreProfilGaucheDroite(const Graphe& g, int debut, int fin, float s, const PaireModeles& paire,
                            int etendue = -1);
// Upper score + lower score of the whole component; 0..1000.
int ScoreProfilHautBas(const Graphe& g, float s, const PaireModeles& paire);
