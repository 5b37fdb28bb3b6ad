#include "staff/key_signature.h"

void TraiteArmatureDebutPortee(int, Offscreen) {}
