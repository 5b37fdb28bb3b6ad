// Lengths computed from the interline and the tuning parameters, turned
// into pixels.
#pragma once

#include "toolbox/pixmap.h"

// Truncation toward zero, held within the largest bitmap dimension: tuning
// parameters come from a settings file the user may edit, and a value that
// is not a number or is out of range must not reach the integer loops.
inline int EnPixels(float v) {
    if (!(v == v)) return 0;
    if (v >= static_cast<float>(kDimensionMax)) return kDimensionMax;
    if (v <= -static_cast<float>(kDimensionMax)) return -kDimensionMax;
    return static_cast<int>(v);
}
