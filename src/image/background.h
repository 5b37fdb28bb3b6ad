// Evening out the light of a page photographed or scanned unevenly.
//
// Method. Under a lamp, or with a page lifted off the glass, the paper goes
// from white to mid grey across the page, and no single threshold suits it:
// at the default, the dark corner's paper turns black and its staves are
// lost in it. So the paper's own grey is measured in a grid of tiles, each
// about a twentieth of the page's shorter side: a tile's paper is the grey
// level of the lightest tenth of its pixels (paper covers most of any tile
// of music, and the rare tile that ink fills is outvoted by the median of
// its neighbours). Every pixel is then divided by the paper grey
// interpolated at its place, so that the paper is white everywhere and the
// ink keeps its contrast with it. A page whose paper is even within a few
// grey levels is left exactly as it was.
#pragma once

#include "image/offscreen.h"

// Evens out the paper of the grey page `image` in place; true when it was
// uneven and has been changed.
bool NormaliseFond(Offscreen image);
