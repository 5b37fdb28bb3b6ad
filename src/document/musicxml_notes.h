// The notes of one staff in one MusicXML measure: voices, note elements,
// beams, tuplets, ties, grace notes and ornaments.
#pragma once

#include <cstdint>
#include <pugixml.hpp>
#include <string>

#include "document/written_score.h"

// What a printed note looks like: its type, dots and tuplet ratio, as far as
// they give exactly the duration the note lasts.
struct ValeurImprimee {
    const char* Type = nullptr;  // nullptr: no printed value fits
    int Points = 0;
    int Reelles = 0;  // tuplet: `Reelles` notes in the time of `Normales`; 0 none
    int Normales = 0;
};
ValeurImprimee ValeurDe(const NoteDoc& note);

struct ContexteMesure {
    int64_t Divisions = 1;  // duration units per MusicXML division
    int Portee = 0;         // staff number in the part, 0 when the part has one
    int PremiereVoix = 1;
    const LiensPartie* Liens = nullptr;
};

struct FinNotes {
    int64_t Position = 0;  // in duration units from the measure start
    int NbVoix = 0;
};

// Appends the staff's notes to `noeud`; tells where the position ends and
// how many voices were used.
FinNotes AjouteNotesMesure(pugi::xml_node noeud, const MesureEcrite& mesure,
                           const ContexteMesure& contexte);
