// Systems and measures of a page: the measure boundaries of each staff,
// the grouping of staves into systems and parts, and the alignment and
// numbering of the measures across each system.
#pragma once

#include <cstdint>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// Measure boundaries of the current staff, from its unclaimed vertical lines
// and bar signs; with `RechercherClef` 2 a clef, key or time change after a
// boundary is read into it. Called by the note stage once stems are known.
// False when the user asked to stop during the bar-line scan.
bool RechercheMesures(EtatPage& etat, const ReglagesReconnaissance& reglages);

// Whether a clef, key or time change was read into c.
bool ChangementLu(const Clef& c);

// Appends a boundary at column x and returns its index; -1, and nothing
// added, when a boundary already lies closer than two interlines.
int AjouteMesure(Portee& portee, int x);

// Groups the staves of the page into systems from the ink that joins them
// at their left ends, numbers the parts and sets the brace flags. False when
// the page has no bitmap or the connection profile cannot be made.
bool DoAnalyseSystemes(EtatPage& etat, Offscreen page);

// Makes the boundaries of the staves of each system agree, numbers the
// measures across the page and places every note in its measure.
bool AnalyseMesures(EtatPage& etat);

// The position table of one system: columns of bar positions, left to
// right, each with its entries ordered by staff rank within the system.
struct EntreePosMesure {
    int16_t portee = 0;  // rank of the staff within its system
    int16_t x = 0;       // boundary column
};
struct PosMesure {
    int16_t n = 0;  // staves of the system that are not tablatures
    std::vector<std::vector<EntreePosMesure>> colonnes;
};

void InserePosMesure(PosMesure& table, float interligne, int portee, int x);
// Completes the columns that lack staves, or removes a lone boundary when
// the measures are at least as regular without it.
void CompletePosMesure(PosMesure& table);
// Mean deviation of the measure widths, column `sautee` left out (-1: none).
double IrregulariteMesures(const PosMesure& table, int sautee);
// Brings the boundaries of the system's staves (by rank, in page order) in
// line with the table.
void AppliquePosMesure(const PosMesure& table, const std::vector<Portee*>& portees);
