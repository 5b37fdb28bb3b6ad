// Accidentals and augmentation dots of the notes of the current staff.
#pragma once

#include <cstdint>

#include "records/etat_page.h"
#include "records/options.h"
#include "toolbox/rect.h"

// The accidental just left of the note at (x, y), taken with its whole ink.
// `prob` receives the score of the best accidental candidate examined (0
// when none), `graphe` its component when it is taken. Returns the
// accidental value (CodeAlteration), kSansAlteration when none.
uint8_t CalculeAlteration(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                          int x, int y, int position, int16_t& prob, uint16_t& graphe);
// The same for a grace note and the small accidentals; within the staff
// the accidental must sit at the grace note's staff position.
uint8_t CalculeAlterationAppogiature(EtatPage& etat, const ReglagesReconnaissance& reglages,
                                     int indexPortee, int x, int y, int position, int16_t& prob,
                                     uint16_t& graphe);

// True when the ink of candidate `indexCaractere` (a rest) reads better as
// an accidental: a sharp's strokes can pass for a quarter rest, and the rest
// would take the ink its note needs.
bool PlutotAlteration(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexCaractere);

// Gives each accidental of `zone` that no note took to the nearest note on
// its right at its height. False when the user cancelled.
bool TraiteAlterations(EtatPage& etat, const ReglagesReconnaissance& reglages, const Rect& zone);

// The stage of the dots of the current staff; false when the user cancelled.
bool TraitePointes(EtatPage& etat, const ReglagesReconnaissance& reglages);
// The dots right of a note or rest of code `code` at (x, y): 0, 1 or 2;
// `prob` receives the score of the last dot taken.
int CalculePointes(EtatPage& etat, const ReglagesReconnaissance& reglages, int indexPortee,
                   uint16_t code, int x, int y, int16_t& prob);
