// What the program asks of the operating system: time and free memory.
#pragma once

#include <cstdint>

// Ticks of 1/60 second: the millisecond counter x 3 / 50.
uint32_t Ticks();

// Memory the system can still give, in bytes (MemAvailable).
int64_t MemoireLibre();
