// Notes and rests of the current staff.
#pragma once

#include <cstdint>

bool TraiteNotes();

// Document-wide running number of the recognised symbols.
extern uint32_t NumeroSymboleDocument;
