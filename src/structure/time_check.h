// The time signatures of a page checked against the music: once every
// staff's notes are placed in their measures, each signature read is set
// against what the measures it governs hold. A digit misread (a 9 taken for
// a 3, a 4 for a 2) shows as most measures holding another length; the
// signature they hold is then kept in place of the one read.
#pragma once

#include <cstdint>
#include <vector>

#include "records/etat_page.h"

// What the notes of one measure last, in 1/40320 of a quarter note, notes
// struck together counting once, as long as the shortest of them; -1 when
// they cannot judge a signature (no notes, or a whole-measure rest).
int64_t DureeNotesMesure(const Portee& portee, int mesure);

// The signature among those a single misread digit could hide (the
// numerator or the denominator changed) that most measures hold; `lue` when
// the measures do not clearly contradict it. `durees` are the measures'
// lengths, -1 for those that cannot judge.
ChiffrageVerifie ChoisitChiffrage(int numerateur, int denominateur,
                                  const std::vector<int64_t>& durees);

// Checks every signature read on the page, rewrites those the measures
// contradict in the start and measure records that carry them, and lists
// the verdicts in `etat.Chiffrages` (and in the trace).
void VerifieChiffrages(EtatPage& etat);
