// Clearing a page state together with the band bitmaps the staff stages
// made for it.
#pragma once

#include "records/etat_page.h"

// Releases the staves and the band bitmaps and clears the whole state.
void LibereEtatPage(EtatPage& etat);
