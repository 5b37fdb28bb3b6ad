// A PNG page loaded the simple way, for the commands and tests that need a
// real page: grey levels to colour indices, then black and white at the
// default threshold, inverted when mostly dark.
#pragma once

#include <string>

#include "image/offscreen.h"

// nullptr, with the reason in `erreur`, when the file cannot be read.
Offscreen ChargePagePNG(const std::string& chemin, std::string& erreur);
