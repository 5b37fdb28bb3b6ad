// The document model of one export: the result file read back, part by part
// and measure by measure, which the rhythm alignment makes consistent and
// the music file is written from. Durations are in duration units: a
// quarter note is 40320, so that every tuplet of the usual kinds divides it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kDureeNoire = 40320;
constexpr int32_t kDureeRonde = 4 * kDureeNoire;

// The most grace notes one main note carries; further ones are dropped.
constexpr int kNbAppogiaturesMax = 10;

// Clef, key and time signature of a part's start or of one measure.
struct ClefDoc {
    int16_t TypeClef = 0;   // 1 "Sol", 2 "Fa", 3 "Ut", 0 none
    int16_t LigneClef = 0;  // line from the bottom; 0 the type's usual line
    int16_t NbDiese = 0;
    int16_t NbBemol = 0;
    int16_t NbBecarre = 0;
    int16_t Numerateur = 0;
    int16_t Denominateur = 0;
    int32_t LongueurMesure = 0;  // set by the rhythm alignment
};

struct AppogiatureDoc {
    uint32_t IdNote = 0;
    int16_t Interligne = 0;  // staff position
};

// One note or rest. `Duree` is the nominal value of its glyph;
// `DureeEffective` is what it lasts once divisions, dots and tuplets apply.
struct NoteDoc {
    uint32_t IdNote = 0;
    uint8_t Silence = 0;
    int32_t Duree = 0;
    int32_t DureeEffective = 0;
    int16_t Interligne = 0;  // staff position in half-interlines, 0 = top line
    int16_t Pointe = 0;
    int16_t Alteration = 2;  // 0 natural, 1 sharp, 2 none, 3 flat, 4 double sharp, 5 double flat
    int16_t Queue = 0;
    int16_t Tuplet = 0;
    int16_t HauteurQueue = 0;
    int16_t DivDuree = 0;
    int16_t PosMesure = 0;
    int16_t PosX = 0;
    int16_t Accroche = 0;
    int16_t TaillePixInterligne = 0;
    int16_t DebutLiaison = 0;
    int16_t FinLiaison = 0;
    uint8_t Appogiature = 0;
    int16_t NbAppogiatures = 0;
    AppogiatureDoc Appogiatures[kNbAppogiaturesMax] = {};
    uint8_t Effet = 0;
    uint8_t PointDOrgue = 0;  // fermata: 0 none, 1 upright, 2 inverted
};

// A clef that changes between two notes of a measure: the notes right of
// its column are read under it.
struct ChangementClefDoc {
    int16_t PosX = 0;
    int16_t TypeClef = 1;
    int16_t LigneClef = 0;  // 0 the type's usual line
};

struct MesureDoc {
    int16_t PosXMesure = 0;
    float Taille = 0;  // in interlines
    ClefDoc Clef;
    std::vector<ChangementClefDoc> ChangementsClef;  // left to right
    std::vector<NoteDoc> Notes;                      // in reading order
    uint8_t RepetePrecedente = 0;
    uint8_t DebutRepetition = 0;
    uint8_t FinRepetition = 0;
    uint8_t DebutMusique = 0;
    uint8_t FinMusique = 0;
    // Where the pages had their line and page breaks: the first measure of
    // each staff read, and of each page.
    uint8_t DebutSysteme = 0;
    uint8_t DebutPage = 0;
};

// One part: the staves of the same rank in every system, end to end.
struct PorteeDoc {
    ClefDoc ClefInitiale;
    std::vector<MesureDoc> Mesures;
    int16_t MesureCourante = 0;  // where the reader stores what comes next
    float HauteurPortee = 0;
    float LigneBasePortee = 0;
    uint8_t Accolade = 0;
    uint8_t TablatureAssociee = 0;
    // Pages on which the part was declared, and those on which it was
    // joined to the next part by a thick stroke (a brace or bracket).
    int16_t PagesLues = 0;
    int16_t PagesAccolade = 0;
};

struct DocumentMusical {
    std::string Nom;
    std::string TexteResolution;     // "Res : %dx%d" of the last page read
    int32_t DureeTotale = 0;         // seconds, all pages
    float RetraitPremierGroupe = 0;  // the first non-zero one
    int16_t BaseMesure = 0;          // index of the first measure of the page being read
    std::vector<PorteeDoc> Portees;
    // Grace notes read and waiting for the main note they belong to.
    std::vector<AppogiatureDoc> AppogiaturesEnAttente;
};

// Frees every note list, measure list and the part table.
void LibereModele(DocumentMusical& document);

// Gives every part as many measures as the longest one, adding empty ones.
// Returns that count.
int EgaliseNombreMesures(DocumentMusical& document);
