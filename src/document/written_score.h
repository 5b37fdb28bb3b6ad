// The aligned document model read the way the music file is written: per
// part and measure, the clef, key and time in force, and each note with the
// start of its chord and its sounding pitch. MusicXML and MIDI are written
// from this, so that every format says the same thing as the music file.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "document/document_model.h"

// A pitch as a count of diatonic steps from C0 (7 x octave + step, C = 0)
// and the alteration that sounds (-2 .. 2 semitones).
struct HauteurEcrite {
    int Diatonique = 0;
    int Alteration = 0;

    int Octave() const;
    int Degre() const;  // 0 C .. 6 B
};

struct NoteEcrite {
    const NoteDoc* Source = nullptr;
    int64_t DebutAccord = 0;  // from the measure start, in duration units
    int Accord = 0;           // index of its chord in the measure
    HauteurEcrite Hauteur;    // meaningless for a rest
    std::vector<HauteurEcrite> Appogiatures;
};

// A clef change inside a measure, from the chord that starts at `Debut`
// (duration units from the measure start) on.
struct ClefEcrite {
    int64_t Debut = 0;
    int TypeClef = 1;
    int LigneClef = 2;
};

struct MesureEcrite {
    const MesureDoc* Source = nullptr;
    int TypeClef = 1;                         // in force for this measure, after its own change
    int LigneClef = 2;                        // the line it stands on, from the bottom
    std::vector<ClefEcrite> ChangementsClef;  // between its notes, in order
    int Tonalite = 0;                         // key code in force (1..7 sharps, 8..14 flats)
    int Numerateur = 4;
    int Denominateur = 4;
    int32_t Longueur = kDureeRonde;
    bool Repetition = false;  // the notes are those of an earlier measure
    int64_t DureeNotes = 0;   // where the last chord ends
    std::vector<NoteEcrite> Notes;
};

struct PartieEcrite {
    const PorteeDoc* Source = nullptr;
    std::vector<MesureEcrite> Mesures;
};

// The tie partners of a part, found once for all its measures: ties join
// notes of the same pitch, other pairs are slurs.
struct LiensPartie {
    std::set<const NoteEcrite*> DebutsLiaison, FinsLiaison;
    std::set<const NoteEcrite*> DebutsLegato, FinsLegato;
};
LiensPartie TrouveLiens(const PartieEcrite& partie);

// The model must stay alive and unchanged while the result is used.
std::vector<PartieEcrite> LitPartitionEcrite(const DocumentMusical& document);

// Key code -> alteration of each degree (0 C .. 6 B).
void AlterationsTonalite(int tonalite, int alterations[7]);

// Key code -> fifths: 1..7 sharps give 1..7, 8..14 give -1..-7.
int QuintesTonalite(int tonalite);

// Accidental code of a note (0 natural, 1 sharp, 3 flat, 4, 5 doubles) ->
// semitones; false for "none" and unknown codes.
bool DemiTonsAlteration(int code, int& demiTons);
