// Ties and slurs of the current staff: traced on the intact band and erased
// from the band the later stages read, then attached to the notes.
#pragma once

#include <cstdint>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"

// The stage, first after line removal. False only when the work copy of the
// intact band cannot be made.
bool RechercheLiaisons(EtatPage& etat, const ReglagesReconnaissance& reglages);

// Traces one tie rightward from the black pixel (x, y) of `bits`, the work
// copy, painting every run it takes green.
// `finX` is the first column whose run failed, `finY` the top of the last
// run taken;
// `hautMin` and `hautMax` the smallest and largest run tops.
bool SuitLiaison(const VuePixels& bits, int x, int y, float s, int& finX, int& finY, int& hautMin,
                 int& hautMax);

// Turns white on the band every pixel painted green on the work copy inside
// the tie's box, and appends the tie to the staff. Both bitmaps have the
// same size.
void AjouteLiaison(Portee& portee, const VuePixels& travail, const VuePixels& bande, int x, int y,
                   int finX, int finY, int hautMin, int hautMax, bool dessus);

// Attaches each end of each tie of the current staff to its note. False
// when the user asked to stop.
bool AttacheLiaisons(EtatPage& etat);

// The note of the current staff that takes the tie end at (x, y), or -1:
// among the notes (not rests, not removed) whose slot for that end is free, less than three
// interlines away in columns and on the tie's side within two interlines,
// the nearest in rows, then in columns. Note `exclue` is passed over.
int NoteDeLiaison(EtatPage& etat, int x, int y, bool dessus, bool debut, int exclue);

void LibereLiaisons(Portee& portee);
