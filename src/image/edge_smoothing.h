// Smoothing of the edges of black shapes: one-pixel bumps and notches.
#pragma once

#include "image/offscreen.h"

// One pass over the page, every decision taken on the page as it was: a
// black pixel whose eight neighbours are mostly not black, those forming one
// unbroken arc around it, turns white (a speck stuck to a shape's edge); a
// white pixel mostly surrounded by one arc of black turns black (a notch).
// Corners of shapes and one-pixel-wide strokes are kept, the free end of
// such a stroke losing its last pixel. Pixels of other
// colours (margin marks) are neither changed nor counted as black. False
// when there was no memory for its row copies (the page is then unchanged).
bool LisseContours(Offscreen o);
