// A generated page of music: staves of five lines with a few note heads and
// stems. Used by the demonstration and by tests that need a clean page.
#pragma once

#include "image/offscreen.h"

Offscreen DessinePageSynthetique(int nbPortees, int largeur = 1600, int interligne = 20);
