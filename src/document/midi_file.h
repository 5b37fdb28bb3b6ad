// A standard MIDI file (format 1) from the aligned document model: one
// track per part (the parts of the MusicXML file: a grand staff is one)
// after a tempo track, 480 ticks a quarter note.
#pragma once

#include <string>

#include "document/document_model.h"

constexpr int kTicksParNoire = 480;
constexpr int kTempoParDefaut = 100;  // quarter notes per minute

std::string OctetsMidi(const DocumentMusical& document, int tempo = kTempoParDefaut);

// False (with a message) when the file can't be written.
bool EcritMidi(const DocumentMusical& document, const std::string& chemin,
               int tempo = kTempoParDefaut);

// Reads a result file, aligns its rhythm and writes the MIDI file.
bool ExporteMidi(const std::string& cheminResultat, const std::string& chemin, int tempo);
