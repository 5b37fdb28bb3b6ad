// Flags of unbeamed black heads.
#pragma once

#include "records/etat_page.h"
#include "records/options.h"

// Reads the flags of every black head of the current staff that has no
// beam; false when the user cancelled.
bool TraiteCroches(EtatPage& etat, const ReglagesReconnaissance& reglages);

// The flag of note `indexNote` of the current staff, by its stem side: sets
// its `DivDuree` (0 when none) and its first division.
void CalculeCroche(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexNote);
