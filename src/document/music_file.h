// The music file ("msf") for the score editors: the result file read back,
// made rhythmically consistent, and written as parts of measures of notes.
#pragma once

#include <string>
#include <vector>

#include "document/document_model.h"

enum class ResultatExport {
    Reussi,
    ResultatIllisible,  // the result file is missing, damaged or empty (the user was told)
    MusiqueNonCreee,    // the music file cannot be created or written (the user was told)
    Annule,             // the user cancelled
};

// Reads the result file into `document`, aligns its rhythm and writes the
// music file. The model stays filled for `ReporteModifs`; the caller
// releases it. The export's own time is added to the current page's
// processing time, whatever the outcome. The file asks the editor to play
// it at once ("JoueAutoDocument") when the preference "JoueAussitot" is set.
ResultatExport ExporteFichierMusical(const std::string& cheminResultat,
                                     const std::string& cheminMusique, DocumentMusical& document);

// The rhythm alignment's three stages, in order, on a model read back from a
// result file whose parts have as many measures each; false when the user
// cancelled.
bool AligneRythme(DocumentMusical& document);

// Writes the music file of an aligned model into the current keyword file;
// false when the user cancelled or a write failed (`annule` tells which).
bool EcritFichierMusical(const DocumentMusical& document, bool joueAussitot, bool& annule);

// Key code of the editors: 1..7 sharps, 8..14 one to seven flats, 0 none.
int CodeTonalite(int dieses, int bemols);

// The notes measure `m` of a part is written with: its own, or, for a single
// rest marked as repeating the previous measure, those of the last measure
// written out before it.
const std::vector<NoteDoc>& NotesAEcrire(const PorteeDoc& partie, size_t m);

// The line a clef stands on, from the bottom line: its own when it names
// one (1 to 5), else its type's usual line (G 2, F 4, C 3).
int LigneDeClef(int typeClef, int ligneClef);

// The value a clef gives the top staff line; a note's written pitch is this
// minus its staff position. Steps are counted from the clef's line, which
// holds G4, F3 or C4.
int BaseHauteur(int typeClef, int ligneClef = 0);
