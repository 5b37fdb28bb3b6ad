// Staff detection: finds the staves of a page and measures the page.
#pragma once

#include "image/offscreen.h"
#include "toolbox/rect.h"

// The stage. Consumes the page bitmap: it is disposed before returning, in
// every case (the driver reloads the page).
bool RecherchePortees(Offscreen& page);

// Staff geometry at band column x.
float InterligneEn(int indexPortee, int x);
float LigneHautEn(int indexPortee, int x);
