// Clef, key signature and time signature at the start of a staff.
#pragma once

#include "image/offscreen.h"
#include "staff/portee.h"

void TraiteArmatureDebutPortee(int indexPortee, Offscreen bande);

// Reads clef, key signature and time signature from column x over the given
// width; true when any of them was found.
bool TraiteArmaturePortee(int indexPortee, int x, int largeur, Offscreen bande, bool clefRequise,
                          Clef& resultat);
