// The two filters candidate extraction runs over the candidate table once
// every code has been tried: bar signs and measure-repeat signs take the
// ink and the neighbourhood they stand on from every other reading.
#pragma once

#include "records/etat_page.h"

// A candidate counts as a bar sign or a measure-repeat sign from this score.
constexpr int kScoreSigneMesure = 300;

// Deactivates every candidate that is not a bar sign when a bar-sign
// candidate of the same component scores at least 300.
void FiltreSignesBarre(EtatPage& etat);

// Deactivates every candidate of another code lying less than
// 3 x trunc(mean page interline) columns from an active measure-repeat sign
// scoring at least 300.
void FiltreRepetePrecedente(EtatPage& etat);
