// Ties and slurs of the current staff: traced on the intact band and erased
// from the band the later stages read, then attached to the notes.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// The stage, first after line removal: traces each tie on a copy of the band
// and erases it from the band. False when the band cannot be copied or the
// intact band is missing.
bool RechercheLiaisons(EtatPage& etat, const ReglagesReconnaissance& reglages);

// Attaches each end of each tie of the current staff to its note. False
// when the user asked to stop.
bool AttacheLiaisons(EtatPage& etat);

// The note of the current staff that takes the tie end at (x, y), or -1:
// among the notes (not rests, not removed) whose slot for that end is free,
// less than three interlines away in columns, on the tie's side within two
// interlines, the head whose middle is nearest the end, on the end's side: a tie starts
// right of its head's middle and ends left of it. A head whose middle is
// level with the end, or a quarter of an interline past it, counts half an
// interline further, and only at the line of note `autre` (the other end's;
// none when -1). Note `exclue` is passed over.
int NoteDeLiaison(EtatPage& etat, int x, int y, bool dessus, bool debut, int exclue,
                  int autre = -1);

void LibereLiaisons(Portee& portee);
