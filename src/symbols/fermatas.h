// Fermatas of the current staff: an arc with a dot under its crown (over it
// when inverted), clear of the staff. Found in the tie stage, which erases
// them from the band so that their dot is never read as a staccato or
// augmentation dot, and given to the note or rest they stand over.
#pragma once

#include "records/etat_page.h"

// Finds the fermatas clear of the current staff on its band (staff lines
// already removed), erases their arc and dot from the band and appends each
// to the staff's `Liaisons` with the fermata `Genre`. Returns how many.
int RecherchePointsDOrgue(EtatPage& etat);

// The note or rest of the current staff the fermata `l` stands over (under
// when inverted): among those not removed, on the fermata's side of it,
// whose middle is within an interline and a quarter of the sign's middle,
// the nearest. -1 when none.
int NoteDuPointDOrgue(EtatPage& etat, const Liaison& l);
