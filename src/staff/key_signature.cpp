#include "staff/key_signature.h"

void TraiteArmatureDebutPortee(int, Offscreen) {}

bool TraiteArmaturePortee(int, int, int, Offscreen, bool, Clef&) { return false; }
