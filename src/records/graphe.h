// A connected component of a staff band (`Graphe`) as its row runs, with
// the feature lists the matchers build on it. Plain records; the builders
// are in symbols/graphe.h.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/rect.h"

// One maximal run of ink in one row of a component.
struct Plage {
    int16_t Centre = 0;    // (first column + last column) / 2, rounded down
    int16_t Longueur = 0;  // in pixels
    uint16_t Utilise = 0;  // work flag of the feature builders
};

// A filled blob, the shape of a black note head.
struct TacheRonde {
    uint8_t Disponible = 1;
    int16_t X = 0;       // centre column (band)
    int16_t Y = 0;       // row, from the component's top
    int16_t Taille = 0;  // diameter in pixels
    int16_t Cent = 100;  // always 100
};

// A thin vertical stroke.
struct TraitVertical {
    uint8_t Disponible = 1;
    int16_t XHaut = 0;  // columns are band columns,
    int16_t YHaut = 0;  // rows are counted from the component's top
    int16_t XBas = 0;
    int16_t YBas = 0;
    int16_t Epaisseur = 0;  // mean run length
};

// Consecutive rows with the same number of runs: one section per run index.
struct SectionStable {
    uint8_t Disponible = 1;
    int16_t XDebut = 0;  // run centre in the first row
    int16_t YDebut = 0;
    int16_t XFin = 0;  // run centre in the last row
    int16_t YFin = 0;
    int16_t EcartDroite = 0;  // largest deviation right of the straight line between the ends
    int16_t EcartGauche = 0;  // largest deviation left of it
    int16_t Epaisseur = 0;    // mean run length
};

// A short thick horizontal bar.
struct BarreEpaisse {
    uint8_t Disponible = 1;
    int16_t X1 = 0;       // first end column
    int16_t Y1 = 0;       // first row
    int16_t X2 = 0;       // other end column
    int16_t Y2 = 0;       // last row
    int16_t Hauteur = 0;  // rows
};

// One 8-connected component of black pixels of the staff band.
struct Graphe {
    uint32_t Etiquette = 0;  // 0 in the table; a four-character tag for a merged component
    uint8_t Ouvert = 0;      // 1 while the current matcher may still draw candidates from it
    // Bounds: top = first row, left = first column, right = last column + 1,
    // bottom = last row (not last row + 1): the last row is not in `Lignes`.
    Rect Cadre;
    int16_t Courant = 0;  // matcher work value
    int32_t NbPixels = 0;
    Rect CadreCourant;  // matcher work copy of Cadre

    int16_t NbTaches = -1;  // -1: not built yet
    std::vector<TacheRonde> Taches;
    int16_t NbTraitsVerticaux = -1;
    std::vector<TraitVertical> TraitsVerticaux;
    int16_t NbSectionsStables = -1;
    std::vector<SectionStable> SectionsStables;
    int16_t NbBarresEpaisses = -1;
    std::vector<BarreEpaisse> BarresEpaisses;
    // Flag matcher: the flags read on the symbol around this component
    // (their count, 0 for none, its score and position); -1 not read yet.
    int CrochetsLus = -1;
    int ScoreCrochetsLus = 0;
    Point PositionCrochetsLus;

    uint16_t NbLignes = 0;  // bottom - top
    // Row r is band row top + r; its runs from left to right.
    std::vector<std::vector<Plage>> Lignes;

    int Largeur() const { return Cadre.right - Cadre.left; }
};

// What a component extraction reports besides the components.
struct BilanExtraction {
    int pixelsPerdus = 0;          // pushes dropped because the stack could not grow
    int composantesTronquees = 0;  // components that lost some
    int pileMaximum = 0;           // most entries the stack held
};
