// Rhythm alignment: makes the document model rhythmically consistent before
// the music file is written. Notes struck together become chords, every
// measure gets one time signature across the parts by a vote, and each
// measure's notes are re-valued so that they fill it exactly.
#pragma once

#include <cstdint>
#include <vector>

#include "document/document_model.h"
#include "records/symboles.h"

// What a note lasts: its nominal value halved once per time division, then
// its dots, then its tuplet ratio (rounded half up).
int32_t DureeEffective(const NoteDoc& note);

// The number of normal notes a tuplet of `t` notes stands for (3 in the
// time of 2, ...); 2 for numbers without a usual meaning.
int NombreNormal(int t);

// A measure of numerator/denominator in duration units, rounded half up;
// 0 when the denominator is 0.
int32_t LongueurMesure(int numerateur, int denominateur);

// What the first `n` notes last when consecutive notes with the same
// position in the measure sound together: each chord lasts as long as its
// shortest non-zero note.
int64_t DureeMesure(const std::vector<NoteDoc>& notes, size_t n);

// Which way a note's stem goes; a rest or a stemless head goes neither way.
inline bool QueueMontante(const NoteDoc& n) {
    return n.Queue == QueueNormale || n.Queue == QueueHautGauche;
}
inline bool QueueDescendante(const NoteDoc& n) {
    return n.Queue == QueueBasDroite || n.Queue == QueueBasse;
}

// The three stages, in this order. Each returns false when the user
// cancelled; the export then stops.
bool RecalageAccords(DocumentMusical& document);
bool RecalageDivisionsTemporelles(DocumentMusical& document);
bool RecaleNotesSurDivTemporelles(DocumentMusical& document);

// The last stage for one measure, whose length is already set. `score` is
// the best assignment's score, or -1 when none fitted and the measure was
// filled or cut instead. False when the user cancelled.
bool RecaleNotesMesure(MesureDoc& mesure, int32_t& score);
// The same, fitted to `longueur` rather than the measure's length.
bool RecaleNotesMesure(MesureDoc& mesure, int32_t longueur, int32_t& score);

// The length measure `m` is played for: its time signature's, except for a
// first or last measure that most parts hold shorter (a pick-up, or the
// bar that completes it at the end), and two neighbouring measures inside
// the piece whose lengths held add up to one measure (one measure split by
// a repeat sign), which keep what they hold.
int32_t LongueurJouee(const DocumentMusical& document, size_t m);

// Measures with more notes than this are not searched (the search is
// exponential and recursive); they go straight to the fallback.
constexpr size_t kNbNotesMaxRecherche = 256;
// Calls one measure's search may make before it settles for the best
// assignment found so far; keeps a damaged document from hanging the export.
constexpr uint32_t kNbAppelsMaxRecherche = 1000000;
