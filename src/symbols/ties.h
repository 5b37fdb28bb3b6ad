// Ties and slurs of the current staff.
#pragma once

#include <cstdint>

bool RechercheLiaisons();

// Document tie counter.
extern uint16_t NumeroLiaisonDocument;
