// The recognition options as keyword text: the options block ("DebutConfig"
// ... "FinConfig") and the standard options file "RuzoStd.cfg" of the
// preferences folder, which holds exactly one such block. Page lists carry a
// block of their own.
#pragma once

#include <string>

#include "records/options.h"

inline constexpr const char* kFichierOptionsStandard = "RuzoStd.cfg";

// Handler of the options block: reads the value of a known keyword into
// `options`, truncated to the field's width; skips the line of any other.
bool GestionnaireOptions(OptionsReconnaissance& options, const char* mot);

// Reads the current keyword file up to "FinConfig" into `options`. True when
// "FinConfig" was met; what was read before the end of file stays.
bool LitBlocOptions(OptionsReconnaissance& options);

// Writes the options block into the current keyword file; false at the
// first failed write.
bool EcritBlocOptions(const OptionsReconnaissance& options);

// Defaults, then whatever "RuzoStd.cfg" holds. A missing or unreadable file
// leaves the defaults, silently.
void ChargeOptionsStandard(OptionsReconnaissance& options);

// Replaces "RuzoStd.cfg" with `options`. On failure the previous file stays
// whole, an alert says why, and the result is false.
bool SauveOptionsStandard(const OptionsReconnaissance& options);

// Reads the options block of the page list file `chemin` into `options`.
// False, with `options` unchanged, when the file cannot be read or holds no
// "DebutConfig".
bool LitOptionsListePages(const std::string& chemin, OptionsReconnaissance& options);
