// Writing an export (MusicXML, MIDI) whole to the file the user named.
#pragma once

#include <string>

// Writes `octets` to `chemin`, replacing what was there. On failure the
// user is told ("Can't open file ..." or "Can't write the NATURE file ...")
// and the result is false.
bool EcritFichierExport(const std::string& chemin, const std::string& octets, const char* nature);
