// Column scans of the filtered page: regularly spaced thin black runs make
// line groups; long white runs count the rows they cover.
#pragma once

#include <cstdint>
#include <vector>

#include "image/offscreen.h"
#include "records/options.h"
#include "records/portee.h"

// Fixed limits of a column scan, in pixels.
constexpr int kEpaisseurLigneMax = 5;  // a thin black run
constexpr int kEcartPorteeMin = 5;     // white gap between two lines of a staff
constexpr int kEcartPorteeMax = 21;
constexpr int kBlancLongMin = 22;  // a long white run
constexpr double kToleranceAlignement = 2.0;

// What the scans of the whole page gather.
struct ScanColonnes {
    explicit ScanColonnes(int hauteur) : variationBlancs(hauteur + 1, 0) {}

    // Per row: +1 where a counted white run starts, -1 after it ends; summed
    // by LignesBlanches.
    std::vector<int32_t> variationBlancs;
    std::vector<GroupeLignes> groupes;

    // Number of long white runs covering each row, their first row excluded.
    std::vector<int32_t> LignesBlanches() const;
};

// Scans column x of the filtered page top to bottom; appends its line groups
// of at least `reglages.Reglage.RecherchePorteeNbTransitions` lines and counts its long
// white runs. Returns the mean length of its thin black runs, 0.0 without any.
float ScanneColonne(const ReglagesReconnaissance& reglages, const PixMap& pageFiltree, int x,
                    ScanColonnes& scan);

// Every column, left to right; the mean thickness over the columns that have
// thin runs goes to `epaisseur`. False when the user cancels.
bool ScanneColonnes(const ReglagesReconnaissance& reglages, const PixMap& pageFiltree,
                    ScanColonnes& scan, float& epaisseur);
