// How the staves of a document become the parts a score editor shows: a
// grand staff is one part of two staves, longer joined runs a bracketed
// group of parts. MusicXML and MIDI both follow it, so that a piano is one
// instrument in either file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/document_model.h"

struct PartieSortie {
    std::vector<size_t> Portees;  // staves of the document, top to bottom
    int Groupe = 0;               // part-group number when a bracket joins it to others, 0 none
    bool DebutGroupe = false, FinGroupe = false;

    bool Piano() const { return Portees.size() == 2; }
    std::string Nom(size_t numero) const;  // numero from 0
};

// Nothing on the page tells the instrument: every part sounds as a piano.
constexpr int kProgrammeMidi = 1;  // General MIDI, from 1

// MIDI channel of a part, from 0; the percussion channel is left out.
int CanalMidi(size_t numero);

std::vector<PartieSortie> ComposeParties(const DocumentMusical& document);
