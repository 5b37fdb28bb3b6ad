// Clef, key signature and time signature at the start of a staff.
#pragma once

#include "image/offscreen.h"

void TraiteArmatureDebutPortee(int indexPortee, Offscreen bande);
