// The sampled top line of each staff: one sample per section of the staff's
// width, measured from the line groups, then cleaned of outliers and filled.
#pragma once

#include <vector>

#include "records/etat_page.h"
#include "records/portee.h"

constexpr double kToleranceInterligneSection = 0.2;
constexpr int kGroupesMinSection = 5;

// `Interligne` (mean spacing of the groups with all the staff's lines, of all
// its groups when there is none), `LargeurSection` and the samples of every
// staff, from etat.GroupesLignes; `largeurPage` bounds the sections.
void EchantillonneLignes(EtatPage& etat, int largeurPage);

// For every staff: keeps the main chain of samples, fills the others.
void NettoieEchantillons(EtatPage& etat);
void NettoieEchantillonsPortee(std::vector<EchantillonLignes>& echantillons, float interligne);

// Whether chain b continues chain a: the line drawn from the end of a's first
// run and the one drawn from b's start meet within half an interline.
bool ChainesCompatibles(const std::vector<EchantillonLignes>& echantillons, int a, int b,
                        float interligne);
// Fills every sample with Y < 0 from the nearest measured samples: between
// two by interpolation, beyond the last ones by extrapolation from the end
// pair, by copy when only one is measured. False, leaving them all, when no
// sample is measured.
bool Comble(std::vector<EchantillonLignes>& echantillons);
