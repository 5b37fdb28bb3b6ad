// What the program asks of the operating system: time, free memory, cores.
#pragma once

#include <cstdint>

// Ticks of 1/60 second: the millisecond counter x 3 / 50.
uint32_t Ticks();

// Memory the system can still give, in bytes (MemAvailable).
int64_t MemoireLibre();

// The number of cores this process may run on (at least 1): those of its
// affinity mask, which a cluster's scheduler narrows to the job's share.
int CoeursDisponibles();
