// The drawing of `ruzo inspect`: the inspected staff bands one under the
// other, each candidate shown by its component's box, a cross at its
// position, the outline of its glyph centred there and its score; then
// each note drawn at its place with its stem, flags or beams, accidental
// and dots; and the measure boundaries with the measure numbers.
#pragma once

#include "recognition/inspection.h"
#include "toolbox/pixmap.h"

// A new pixel map the caller deletes; nullptr when there is nothing to draw
// or no memory.
PixMap* DessineInspection(const InspectionPage& inspection);
