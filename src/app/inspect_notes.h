// The notes part of `ruzo inspect`: each staff's notes and rests as the note
// and dot stages left them, listed as text or JSON, and drawn over the band.
#pragma once

#include <string>

#include "recognition/inspection.h"
#include "records/symboles.h"
#include "toolbox/pixmap.h"

// The written value of a note or rest: "quarter", "eighth", "half rest", ...
std::string ValeurNote(const NotePortee& n);

// One line per note of the staff, after a heading line.
void EcritNotesTexte(const PorteeInspectee& p);
// The staff's notes as the JSON array value of a "notes" member.
void EcritNotesJSON(const PorteeInspectee& p);

// Draws each note's glyph at its place with its stem, flags or beams,
// accidental and dots, on the band drawn at row `dy` of `carte`.
void DessineNotes(PixMap& carte, const PorteeInspectee& p, int dy);
