// Ties and slurs of the current staff: traced on the intact band and erased
// from the band the later stages read, then attached to the notes.
#pragma once

#include <cstdint>

#include "records/portee.h"

// The stage, first after line removal. False only when the work copy of the
// intact band cannot be made.
bool RechercheLiaisons();

// Traces one tie rightward from the black pixel (x, y) of `bits`, the work
// copy prepared in ContextePixels, painting every run it takes green.
// `finX` is the first column whose run failed, `finY` the top of the last
// run taken;
// `hautMin` and `hautMax` the smallest and largest run tops.
bool SuitLiaison(uint8_t* bits, int x, int y, float s, int& finX, int& finY, int& hautMin,
                 int& hautMax);

// Turns white on the band every pixel painted green on the work copy inside
// the tie's box, and appends the tie to the staff. Both bitmaps have the
// same size, the one prepared in ContextePixels.
void AjouteLiaison(Portee& portee, const uint8_t* travail, uint8_t* bande, int x, int y, int finX,
                   int finY, int hautMin, int hautMax, bool dessus);

// Document tie counter: set to 1 when a document or a page alone starts
// being recognised.
extern uint16_t NumeroLiaisonDocument;

// Attaches each end of each tie of the current staff to its note. False
// when the user asked to stop.
bool AttacheLiaisons();

// The note of the current staff that takes the tie end at (x, y), or -1:
// among the notes (not rests, not removed) whose slot for that end is free, less than three
// interlines away in columns and on the tie's side within two interlines,
// the nearest in rows, then in columns. Note `exclue` is passed over.
int NoteDeLiaison(int x, int y, bool dessus, bool debut, int exclue);

void LibereLiaisons(Portee& portee);
