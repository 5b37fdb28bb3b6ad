// The words the result and music files use for note codes: accidentals,
// stem sides, ornaments, clefs, and the note and rest glyphs.
#pragma once

#include <cstdint>

// Each gives "" for a code without a word (2 "no accidental", 0 "no stem",
// 0 "no ornament", unknown codes).
const char* NomAlteration(int code);  // 0 "Becarre", 1 "Diese", 3 "Bemol", 4, 5 doubles
const char* NomQueue(int code);       // 1..4
const char* NomEffet(int code);       // 1..6; 3 and 4 are both "DblMordantSup"
const char* NomTypeClef(int type);    // 1 "Sol", 2 "Fa", 3 "Ut"

// The type word of a note or rest glyph (59 grace note, 119 whole note, ...);
// "" for other glyphs.
const char* MotTypeNote(int codeNote);

// Reading back: the code of a word, or -1 when the word is not one of them.
int CodeAlteration(const char* mot);
int CodeQueue(const char* mot);
int CodeEffet(const char* mot);  // "DblMordantSup" reads as 3

// A note or rest type word: its rest flag and nominal duration.
struct TypeNote {
    uint8_t Silence = 0;
    int32_t Duree = 0;
};
bool LitTypeNote(const char* mot, TypeNote& type);
