// Cutting a staff band into connected components.
#pragma once

#include "image/offscreen.h"
#include "symbols/graphe.h"

// The flood fill's stack starts with room for 5000 pixels and grows by 500
// whenever it is full. It is not capped: on 300 dpi pages a beamed group of
// short notes with its heads and stems needs more than 20000 entries, and a
// cap would cut the group into pieces. Only a failed allocation drops pushes.
constexpr int kPileInitiale = 5000;
constexpr int kPileIncrement = 500;

// Extracts the component of black pixels through (x, y) from `copie`, a
// black-and-white work copy, and whitens it there. The component is empty
// (NbLignes 0) when it is only one row high.
Graphe ExtraitGraphe(Offscreen copie, int x, int y, BilanExtraction* bilan = nullptr);

// Components of a whole black-and-white bitmap, column by column from
// `premiereColonne`; the bitmap is whitened. Used by ConstruitTableGraphes
// on a copy of the band.
std::vector<Graphe> ExtraitGraphes(Offscreen copie, int premiereColonne,
                                   BilanExtraction* bilan = nullptr);
