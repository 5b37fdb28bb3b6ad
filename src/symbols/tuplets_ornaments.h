// Tuplets, ornaments and staccato: late stages that complete the notes of
// the current staff from the candidate table.
#pragma once

#include <cstdint>

#include "records/etat_page.h"
#include "records/options.h"

// Gives each beam group of black notes the number of the small digit 3 to 6
// printed at its beamed end or under its heads. False when the user asked
// to stop.
bool TraiteTuplets(EtatPage& etat, const ReglagesReconnaissance& reglages);
// The search for note `indexNote` of the current staff and its beam group.
void ChercheTuplet(EtatPage& etat, int indexNote);

// Ornament codes of a note (`Effet`).
enum CodeEffet : uint8_t {
    kSansEffet = 0,
    kMordantSup = 1,
    kMordantInf = 2,
    kDblMordantSup = 3,
    kDblMordantInf = 4,
    kTrille = 5,
    kStaccato = 6,
};

// Gives every note (not rests or grace notes) its ornament above the staff
// or, failing one, its staccato dot. False when the user asked to stop.
bool TraiteEffets(EtatPage& etat);
// The ornament of note `indexNote` of staff `indexPortee`, taking its
// candidate out of the table.
uint8_t CalculeEffetNote(EtatPage& etat, int indexPortee, int indexNote);
