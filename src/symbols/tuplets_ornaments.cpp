#include "symbols/tuplets_ornaments.h"

bool TraiteTuplets() { return true; }

bool TraiteEffets() { return true; }
