// Symbol candidates of the current staff.
#pragma once

#include <cstdint>

bool ExtractionCaracteresProbables(float interligne);
int16_t TailleCaracteresPortee(float interligne);
void ViderTableCaracteres();
