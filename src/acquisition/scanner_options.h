// Setting a SANE device's options by name: resolution, mode, paper source.
//
// Devices name their options and values in their own ways; these helpers
// take the well-known option names and pick, among the values a device
// offers, the one that fits best. A device lacking an option keeps its own
// setting; one refusing a value is reported and the scan goes on with the
// device's setting, as a scanner that can't comply with one setting is still
// worth scanning with.
#pragma once

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <string>

#include "acquisition/scanner.h"

// The resolution nearest `dpi` the device offers; sets it.
void FixeResolution(SANE_Handle h, int dpi);

// Gray at 8 bits, or line art at 1 bit: a mode named so when the device has
// one, else gray with a depth of 1.
void FixeMode(SANE_Handle h, ModeNumerisation mode);

// The paper source named `alimentation` (case ignored).
void FixeAlimentation(SANE_Handle h, const std::string& alimentation);

// The resolution the device is set to, whole dots per inch (0 when unknown).
int LitResolution(SANE_Handle h);
