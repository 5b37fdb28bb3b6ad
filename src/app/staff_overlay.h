// Draws what staff detection found over a page, for a person to check: each
// band outlined, the followed top line and its companions, the measured
// samples.
#pragma once

#include "image/offscreen.h"

void DessinePortees(Offscreen page);
