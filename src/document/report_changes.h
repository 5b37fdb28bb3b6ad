// Carrying the export's corrections back into a page's notes, so that the
// page view can colour each note as kept, changed or removed.
#pragma once

#include "document/document_model.h"
#include "records/etat_page.h"

// `Etat` of every note record of the page's staves: 0 kept as recognised,
// 1 changed by the export (its glyph, accidental, tuplet, dots, division or
// beam now say what the music file says), 2 removed (not in the music file).
void ReporteModifs(const DocumentMusical& document, EtatPage& page);

// The glyph a model note is written with: grace note 59; rests and notes by
// their nominal duration.
uint8_t CodeGlypheNote(const NoteDoc& note);
