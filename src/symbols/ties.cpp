#include "symbols/ties.h"

uint16_t NumeroLiaisonDocument = 1;

bool RechercheLiaisons() { return true; }

bool AttacheLiaisons() { return true; }
