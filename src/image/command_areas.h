// Command areas: rectangles the user draws on a page to erase it or to
// force a symbol, applied to the page bitmap before recognition.
#pragma once

#include "image/offscreen.h"
#include "records/page_entry.h"

// True when the page has an erase or symbol area and a bitmap to apply it to.
bool AiresActives(const EntreePage* page, Offscreen image);

// Paints the page's areas into the bitmap: erase areas white, symbol areas of
// at least 9 pixels in height or width black.
void AppliqueAires(const EntreePage& page, Offscreen image);

// The first symbol area of the current page forcing `code` that meets `cadre`
// (coordinates of the current staff's band), with its centre in band
// coordinates; false when there is none.
bool AireSymbole(EtatPage& etat, uint16_t code, const Rect& cadre, Point& position);

// Smallest side of an area.
constexpr int kTailleMinAire = 8;

// The rectangle spanned by two corners, normalised (top <= bottom,
// left <= right), widened to kTailleMinAire on each side and kept within
// the 16-bit coordinates.
Rect NormaliseAire(int haut, int gauche, int bas, int droite);

// Removes area `index`, the following ones moving down. A bad index shows
// "DeleteAireCommande : bad index" and changes nothing.
bool SupprimeAire(EntreePage& page, int index);
