#include "symbols/accidentals_dots.h"

bool TraitePointes() { return true; }
