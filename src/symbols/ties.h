// Ties and slurs of the current staff.
#pragma once

#include <cstdint>

bool RechercheLiaisons();

// Document tie counter.
extern uint16_t NumeroLiaisonDocument;

// Attaches each end of each tie of the current staff to its note.
bool AttacheLiaisons();
