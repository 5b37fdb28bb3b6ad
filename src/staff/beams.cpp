#include "staff/beams.h"

bool RechercheAccroches() { return true; }
