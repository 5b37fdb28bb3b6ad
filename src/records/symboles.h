// The symbol records: recognised notes and rests (`NotePortee`), ties
// (`Liaison`) and the scored symbol candidates (`CaractereProbable`).
//
// `NotePortee` and `Liaison` are saved with a page's state byte for byte;
// their sizes and offsets are checked below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/rect.h"

#pragma pack(push, 2)

// One time division of a note: entry 0 holds the flag candidate's position
// and score when the division came from a flag.
struct DivisionNote {
    Point Position;
    int16_t Prob = 0;
};

// The end of a tie as a note keeps it.
struct BoutLiaison {
    uint16_t Numero = 0;  // tie number, 0 = none
    int16_t PosY = 0;
    int16_t PosX = 0;
    uint8_t AuDessus = 0;
    uint8_t Zero = 0;
};

// Stem sides of a note.
enum CodeQueue : uint8_t {
    kSansQueue = 0,
    QueueNormale = 1,     // up, right of the head
    QueueHautGauche = 2,  // up, left
    QueueBasDroite = 3,   // down, right
    QueueBasse = 4,       // down, left
};

// Accidentals of a note.
enum CodeAlteration : uint8_t {
    kBecarre = 0,
    kDiese = 1,
    kSansAlteration = 2,
    kBemol = 3,
    kDoubleDiese = 4,
    kDoubleBemol = 5,
};

constexpr uint16_t kAucunGraphe = 65535;

// One recognised note or rest.
struct NotePortee {
    uint32_t IdNote = 0;  // page x 10000000 + staff x 10000 + running number
    uint16_t Etat = 0;    // 0 valid, 2 removed
    uint16_t NumGraphe = 0;
    int16_t ProbNote = 0;
    int16_t PosY = 0;
    int16_t PosX = 0;        // sort key of the list
    int16_t Interligne = 0;  // staff position in half-interlines, 0 = top line
    uint8_t Silence = 0;
    uint8_t CodeNote = 0;
    uint8_t Alteration = kSansAlteration;
    uint8_t Zero1 = 0;
    uint16_t GrapheAlteration = kAucunGraphe;
    int16_t ProbAlteration = 0;
    uint8_t Queue = kSansQueue;
    uint8_t Zero2 = 0;
    uint16_t HauteurQueue = 0;
    uint8_t Pointe = 0;  // 0, 1 single dot, 2 double dot
    uint8_t Zero3 = 0;
    int16_t ProbPointe = 0;
    uint16_t Tuplet = 0;
    int16_t ProbTuplet = 0;
    uint16_t DivDuree = 0;  // flags or beams; each halves the value
    DivisionNote Divisions[6] = {};
    int16_t NumMesure = 0;
    int16_t PosMesure = 0;
    uint8_t AvecAccroche = 0;
    uint8_t Zero4 = 0;
    uint16_t Accroche = 0;
    BoutLiaison Debut;        // DebutLiaison is Debut.Numero
    BoutLiaison Fin;          // FinLiaison is Fin.Numero
    uint8_t Effet = 0;        // ornament
    uint8_t PointDOrgue = 0;  // fermata: 0 none, 1 above (upright), 2 below (inverted)
};

// What the tie stage found: a tie or slur, or the arc of a fermata with its
// dot, which goes to the note under it (over it when inverted) instead.
enum GenreLiaison : uint8_t {
    kGenreLiaison = 0,
    kGenrePointDOrgue = 1,
};

// One tie or slur of a staff, or a fermata (`Genre`): the ends of its arc.
struct Liaison {
    uint8_t AuDessus = 0;  // 1: above the staff (a fermata: upright)
    uint8_t Genre = kGenreLiaison;
    int16_t PosYDebut = 0;
    int16_t PosXDebut = 0;
    int16_t PosYFin = 0;
    int16_t PosXFin = 0;
};

#pragma pack(pop)

static_assert(sizeof(DivisionNote) == 6);
static_assert(sizeof(BoutLiaison) == 8);
static_assert(sizeof(NotePortee) == 100);
static_assert(offsetof(NotePortee, Etat) == 4 && offsetof(NotePortee, NumGraphe) == 6 &&
              offsetof(NotePortee, ProbNote) == 8 && offsetof(NotePortee, PosY) == 10 &&
              offsetof(NotePortee, PosX) == 12 && offsetof(NotePortee, Interligne) == 14 &&
              offsetof(NotePortee, Silence) == 16 && offsetof(NotePortee, CodeNote) == 17 &&
              offsetof(NotePortee, Alteration) == 18 &&
              offsetof(NotePortee, GrapheAlteration) == 20 &&
              offsetof(NotePortee, ProbAlteration) == 22 && offsetof(NotePortee, Queue) == 24 &&
              offsetof(NotePortee, HauteurQueue) == 26 && offsetof(NotePortee, Pointe) == 28 &&
              offsetof(NotePortee, ProbPointe) == 30 && offsetof(NotePortee, Tuplet) == 32 &&
              offsetof(NotePortee, ProbTuplet) == 34 && offsetof(NotePortee, DivDuree) == 36 &&
              offsetof(NotePortee, Divisions) == 38 && offsetof(NotePortee, NumMesure) == 74 &&
              offsetof(NotePortee, PosMesure) == 76 && offsetof(NotePortee, AvecAccroche) == 78 &&
              offsetof(NotePortee, Accroche) == 80 && offsetof(NotePortee, Debut) == 82 &&
              offsetof(NotePortee, Fin) == 90 && offsetof(NotePortee, Effet) == 98 &&
              offsetof(NotePortee, PointDOrgue) == 99);
static_assert(sizeof(Liaison) == 10);
static_assert(offsetof(Liaison, Genre) == 1 && offsetof(Liaison, PosXFin) == 8);

// One scored symbol candidate of the current staff.
struct CaractereProbable {
    uint8_t Actif = 0;   // 1 while it may still be taken
    uint8_t Marque = 0;  // 1: to be removed by SupprimeCaracteresMarques
    int16_t NumGraphe = 0;
    Point Position;     // row, then column
    uint16_t Code = 0;  // glyph code
    int16_t Prob = 0;   // score: 0 to about 1000; 32000 from a symbol area
    // Ink box of its component in band pixels, kept for the stages that run
    // once the components are gone; empty when the component was unknown.
    Rect Cadre;
};
