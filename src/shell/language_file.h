// The language of the process, from "RuzoLangue.cfg" or, when that file is
// missing, "Langue.cfg" in the preferences folder: a big-endian 16-bit marker
// 258 followed by a big-endian 16-bit language number. Anything else, or a
// language we have no texts for, gives language 1.
#pragma once

#include <string>

constexpr int kMarqueurLangue = 258;

// The language a language file asks for: 1 when its marker or length is
// wrong; false when the file cannot be opened.
bool LitFichierLangue(const std::string& chemin, int& langue);

// Writes a language file asking for `langue`; false with an alert on failure.
bool EcritFichierLangue(const std::string& chemin, int langue);

// Where `ruzo prefs set Langue` writes: "RuzoLangue.cfg" in the preferences
// folder, read first at start-up.
std::string FichierLangue();

// Start-up step: reads the language files and makes the language current.
void ChargeLangue();
