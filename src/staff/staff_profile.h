// From line groups to staves: the row profile with one hump per staff, the
// humps that are staves, which groups belong to which staff, and how many
// lines each staff has.
#pragma once

#include <cstdint>
#include <vector>

#include "records/etat_page.h"
#include "records/portee.h"

// Mean spacing of the groups; 0.0 without any.
double InterligneMoyenneGroupes(const std::vector<GroupeLignes>& groupes);

// R[y] = (most long white runs on any row but the first) - long white runs on
// row y, plus one for every group covering row y.
std::vector<int32_t> ProfilLignes(const std::vector<int32_t>& lignesBlanches,
                                  const std::vector<GroupeLignes>& groupes);
// Weights 1 2 3 4 3 2 1 over 16; rows outside the page count 0.
void LisseProfil(std::vector<int32_t>& profil);
// trunc(mean of the positive values x facteur); 0 when none is positive.
int32_t SeuilProfil(const std::vector<int32_t>& profil, double facteur);

// Half the highest value of the profile: the threshold of a page whose
// profile has nothing but staff humps.
int32_t SeuilPageNette(const std::vector<int32_t>& profil);

// Appends a staff to etat.Portees for every hump at least twice the mean
// interline of etat.GroupesLignes tall; then looks with half the threshold
// for fainter staves between the staves found (where line groups must cover
// an eighth of the width of etat.CadrePage) and below the last one.
void CherchePortees(EtatPage& etat, const std::vector<int32_t>& profil, int32_t seuil);

// Gives every group of etat.GroupesLignes to the staff whose hump middle is
// nearest, and grows that staff's `CadreLignes` over it; a group farther from
// that middle than the hump is tall belongs to no staff (-1).
void AttribueGroupes(EtatPage& etat);
// `NbLignesPortee` of every staff from the line counts of its groups, five-
// and six-line groups weighing double and triple.
void CompteLignesPortees(EtatPage& etat);
