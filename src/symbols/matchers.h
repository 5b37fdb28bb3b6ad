// The symbol matchers: whether one component is a given symbol of the
// catalogue, with what score and at which point.
//
// Agreement between candidate extraction (candidates.cpp, graphe.h) and the
// matchers: extraction calls `ScoreCaractere` once per component and code,
// after reopening the component (`RouvreGraphe` with 1), and calls it again
// while the score is not 0 and the matcher leaves `Ouvert` at 1. Extraction
// appends the candidate itself; a matcher never appends for the per-code
// calls. The two digit passes are run by extraction after the per-code loops
// over the digit codes and append their candidates themselves with
// `AjouteCaractereProbable` (component index = the visited component).
#pragma once

#include <cstdint>

#include "records/etat_page.h"
#include "symbols/graphe.h"
#include "toolbox/rect.h"

// The dispatch by code: the score (0 = none, about 0 to 1000) and the
// position of the symbol in band coordinates (row, column). Codes without
// a matcher score 0.
int16_t ScoreCaractere(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& position);

// Components at least this many interlines wide are strokes (slurs and
// ties) on which the dot matcher looks for the dots they run through.
constexpr float kLargeurTraitPointe = 1.5f;

// The digit passes over the whole component table; false when the user
// cancelled (TestAnnulation between components).
bool ExtraitChiffres(EtatPage& etat, float s);
bool ExtraitPetitsChiffres(EtatPage& etat, float s);
