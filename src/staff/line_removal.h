// Staff-line removal on a staff band.
#pragma once

#include "image/offscreen.h"

bool EffaceLignesPortee(int indexPortee, Offscreen bande);
