// The note stage of the current staff: head and rest candidates become its
// notes, then flags, ties, the staff's measures and the accidentals no note
// took. It sits above the symbol stages because measure search needs every
// stem and bar sign the note readers leave.
#pragma once

#include "records/etat_page.h"
#include "records/options.h"

// The stage on the current staff; false when the user cancelled.
bool TraiteNotes(EtatPage& etat, const ReglagesReconnaissance& reglages);
