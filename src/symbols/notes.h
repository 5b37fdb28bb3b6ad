// Notes and rests of the current staff: the head and rest candidates become
// the staff's `NotePortee` list, with staff position, stem, beams or flags,
// accidentals and the ties and measures that hang on them.
#pragma once

#include <cstdint>

#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"
#include "toolbox/rect.h"

// `Etat` of a note kept in the list but never written out.
constexpr uint16_t kNoteSupprimee = 2;

// Takes every head and rest candidate of the zone (band coordinates of
// staff `indexPortee`), best first, into the staff's list; false when the
// user cancelled.
bool CreeNotesDesCandidats(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                           const Rect& zone);

// The columns where a staff's notes may lie, over the whole band height:
// from the end of its start clef and key to the end of its lines.
Rect ZoneNotesPortee(EtatPage& etat, int indexPortee);

// Appends the note or rest of candidate `indexCaractere` at (x, y) to staff
// `indexPortee`: its staff position, and for a head (`tete`) its stem and
// beams, and for any note its accidental. Returns the new record's index,
// or -1 when the point has no staff position.
int CreeNote(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexCaractere,
             int indexPortee, bool consomme, int x, int y, uint16_t code, int16_t prob,
             bool silence, bool tete);

// Order of the staff's list: by column.
int CompareNotesX(const NotePortee& a, const NotePortee& b);
void TrieNotes(Portee& portee);
