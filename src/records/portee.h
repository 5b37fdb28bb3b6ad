// The staff records: `Portee` (one staff), its line samples, its vertical
// lines, its clef record and its measure boundaries.
//
// Except for `Portee`, these records are kept in memory exactly as they are
// saved with a page's state, byte for byte; their sizes and offsets are
// checked below. `Portee` keeps its arrays in containers; its saved form is
// `PorteeEnregistree`, converted explicitly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/symboles.h"
#include "toolbox/rect.h"

#pragma pack(push, 2)

// One line sample: where the top staff line is at the centre of a section.
struct EchantillonLignes {
    int16_t Chaine = 0;         // chain label, 0 = not valid
    float X = 0;                // centre column of the section
    float Y = 0;                // row of the top line at X, -1.0 when not measured
    float InterligneLocal = 0;  // interline in the section, 0 when not measured
};

// One line group found in one column by staff detection.
struct GroupeLignes {
    int16_t PorteeGroupe = 0;
    int16_t Colonne = 0;
    int16_t PremiereLigne = 0;
    int16_t NbLignesGroupe = 0;
    float InterligneGroupe = 0;
};

// One vertical stroke of a staff band: bar line, stem or other.
struct LigneVert {
    int16_t Type = 0;         // 0 unclassified, -2 bar line, 1..4 stem of a note (its Queue)
    int16_t PosY = 0;         // top row
    int16_t PosX = 0;         // left column
    int16_t Longueur = 0;     // height in rows
    int16_t Epaisseur = 0;    // mean thickness, at least 1
    int16_t NbAccroches = 0;  // stacked beams attached
    int16_t NumAccroche = 0;  // beam group that last set NbAccroches
};

constexpr int16_t kTypeLigneBarre = -2;

// One key-signature accidental as the clef record keeps it.
struct AlterationArmature {
    uint8_t Code = 0;  // 1 sharp, 3 flat, 0 natural
    uint8_t Zero = 0;
    int16_t Prob = 0;
    int16_t Position = 0;  // staff position, as for note heads
};

// Clef, key signature and time signature read at one place of a staff.
struct Clef {
    int16_t PosY = 0;
    int16_t PosX = 0;
    uint16_t CodeClef = 0;
    // Staff line the clef marks, counted from the bottom line (1 to 5): a C
    // clef stands on any of them. 0 is the type's usual line (G 2, F 4, C 3),
    // which is what records saved before the C clef moved hold.
    uint16_t LigneClef = 0;
    uint16_t TypeClef = 0;  // 1 "Sol", 2 "Fa", 3 "Ut", 0 none
    int16_t ProbClef = 0;
    uint16_t NotationAbregee = 0;
    int16_t Numerateur = 0;
    int16_t Denominateur = 0;
    uint16_t NbDiese = 0;
    uint16_t NbBemol = 0;
    uint16_t NbBecarre = 0;
    int16_t FinX = 0;
    // Key-signature accidentals in the order found; unused entries stay zero.
    // The saved layout ends with the eighth entry (its last two bytes are
    // the record's final word).
    AlterationArmature Alterations[8] = {};
};

// One measure boundary of a staff; measure i runs from boundary i to i + 1.
struct Mesure {
    int16_t PosXMesure = 0;
    struct Clef Clef = {};
    uint8_t RepetePrecedente = 0;
    uint8_t Marques[3] = {};  // 1 DebutMusique, 2 FinMusique, 3 DebutRepetition, 4 FinRepetition
};

// The saved form of a staff: 152 bytes, array handles as 32-bit slots whose
// values mean nothing once read back.
struct PorteeEnregistree {
    int16_t NumSysteme;
    int16_t IndexPortee;
    uint8_t Accolade;
    uint8_t Zero;
    int16_t PremiereMesure;
    Rect CadreBande;
    Rect CadreLignes;
    Rect CadreBandeRef;
    int16_t DebutProfil;
    int16_t FinProfil;
    int16_t NbLignesPortee;
    float Interligne;
    int16_t LargeurSection;
    int16_t TailleSymboles;
    int16_t NbEchantillons;
    uint32_t Echantillons;
    int16_t NbSymboles;
    uint32_t Symboles;
    struct Clef Clef;
    int16_t NbMesures;
    uint32_t Mesures;
    int16_t NbLiaisons;
    uint32_t Liaisons;
    int16_t NbLignesVert;
    uint32_t LignesVert;
    uint8_t Tablature;
    uint8_t TablatureAssociee;
};

#pragma pack(pop)

static_assert(sizeof(EchantillonLignes) == 14);
static_assert(offsetof(EchantillonLignes, X) == 2 && offsetof(EchantillonLignes, Y) == 6 &&
              offsetof(EchantillonLignes, InterligneLocal) == 10);
static_assert(sizeof(GroupeLignes) == 12);
static_assert(sizeof(LigneVert) == 14);
static_assert(offsetof(LigneVert, NumAccroche) == 12);
static_assert(sizeof(AlterationArmature) == 6);
static_assert(sizeof(Clef) == 74);
static_assert(offsetof(Clef, LigneClef) == 6 && offsetof(Clef, TypeClef) == 8 &&
              offsetof(Clef, ProbClef) == 10 && offsetof(Clef, NotationAbregee) == 12 &&
              offsetof(Clef, Numerateur) == 14 && offsetof(Clef, Denominateur) == 16 &&
              offsetof(Clef, NbDiese) == 18 && offsetof(Clef, NbBemol) == 20 &&
              offsetof(Clef, NbBecarre) == 22 && offsetof(Clef, FinX) == 24 &&
              offsetof(Clef, Alterations) == 26);
static_assert(sizeof(Mesure) == 80);
static_assert(offsetof(Mesure, Clef) == 2 && offsetof(Mesure, RepetePrecedente) == 76 &&
              offsetof(Mesure, Marques) == 77);
static_assert(sizeof(PorteeEnregistree) == 152);
static_assert(offsetof(PorteeEnregistree, PremiereMesure) == 6 &&
              offsetof(PorteeEnregistree, CadreBande) == 8 &&
              offsetof(PorteeEnregistree, CadreLignes) == 16 &&
              offsetof(PorteeEnregistree, CadreBandeRef) == 24 &&
              offsetof(PorteeEnregistree, DebutProfil) == 32 &&
              offsetof(PorteeEnregistree, NbLignesPortee) == 36 &&
              offsetof(PorteeEnregistree, Interligne) == 38 &&
              offsetof(PorteeEnregistree, NbEchantillons) == 46 &&
              offsetof(PorteeEnregistree, NbSymboles) == 52 &&
              offsetof(PorteeEnregistree, Clef) == 58 &&
              offsetof(PorteeEnregistree, NbMesures) == 132 &&
              offsetof(PorteeEnregistree, NbLiaisons) == 138 &&
              offsetof(PorteeEnregistree, NbLignesVert) == 144 &&
              offsetof(PorteeEnregistree, Tablature) == 150);

// One staff of the page, top to bottom in EtatPage.Portees. The fields are
// those of the saved record; the arrays are owned here.
struct Portee {
    int16_t NumSysteme = 0;      // system, -1 for a tablature
    int16_t IndexPortee = 0;     // number within the system, -1 for a tablature
    uint8_t Accolade = 0;        // joined to the next staff by a connecting stroke
    int16_t PremiereMesure = 0;  // number of the first measure on the page
    Rect CadreBande;             // band in page coordinates
    Rect CadreLignes;            // extent of the staff lines in page coordinates
    Rect CadreBandeRef;          // the band as computed by staff detection
    int16_t DebutProfil = 0;
    int16_t FinProfil = 0;
    int16_t NbLignesPortee = 0;  // 5 normally; more marks a tablature
    float Interligne = 0;
    int16_t LargeurSection = 0;
    int16_t TailleSymboles = 0;  // display size of the staff's glyphs
    std::vector<EchantillonLignes> Echantillons;
    std::vector<NotePortee> Symboles;
    struct Clef Clef;  // start clef; its FinX is the first music column
    std::vector<Mesure> Mesures;
    std::vector<Liaison> Liaisons;
    std::vector<LigneVert> LignesVert;
    // Clefs that change the clef between two notes of a measure, left to
    // right; a change at a bar line is its boundary's clef instead.
    std::vector<struct Clef> ChangementsClef;
    uint8_t Tablature = 0;
    uint8_t TablatureAssociee = 0;

    void LibereTableaux();
};

// Conversions to and from the saved form. Array counts are taken from the
// containers; `DepuisEnregistrement` leaves the arrays empty.
PorteeEnregistree VersEnregistrement(const Portee& p);
Portee DepuisEnregistrement(const PorteeEnregistree& e);
