// Clean-up passes over the notes of a staff once every head is placed: false
// black heads found inside hollow heads, and grace notes that are not
// followed by the note they lead to.
#pragma once

#include "records/portee.h"

// Removes black heads lying inside a half or whole head, and grace notes
// read on such a head's own ink.
void SupprimeNoiresDansBlanches(Portee& portee);

// Removes half-note heads read on the flags of a flagged note: two flags
// curling back to their stem enclose white as a hollow head does, but no
// head sits at the flag end of a stem.
void SupprimeTetesCreusesDansCrochets(Portee& portee);

// Keeps a grace note only when a main note follows it closely; heads read
// on the grace notes' own ink are then removed.
void ValideAppogiatures(Portee& portee);
