#include "symbols/notes.h"

uint32_t NumeroSymboleDocument = 1;

bool TraiteNotes() { return true; }
