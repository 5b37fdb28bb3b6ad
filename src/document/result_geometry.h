// Sizes the result file gives the score editors so they can lay a part out
// like the page: the height of its band and the row of its bottom line, in
// page interlines, and the interline in pixels under each note.
#pragma once

#include "records/etat_page.h"

struct BandePartie {
    bool Presente = false;      // false when no staff of the page is in the part
    float HauteurPortee = 0;    // mean band height / mean interline
    float LigneBasePortee = 0;  // mean bottom-line depth in the band / mean interline
};

// The band of part `indexPartie` (from 0) over the staves of the page.
BandePartie CalculeBandePartie(const EtatPage& etat, int indexPartie);

// The staff's interline in pixels at a note's column (`posX` in band
// columns), interpolated between the line samples; at least 1.0.
float InterligneEnColonne(const Portee& portee, int posX);
