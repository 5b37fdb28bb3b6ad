// Diagnostics of the page stages: runs the page driver on the current page
// and keeps, for each staff, the candidates as extraction left them (before
// any later stage consumed one), with the boxes of their components, the
// staff's band images and its notes; and the staff structure the page
// stages built.
#pragma once

#include <string>
#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "records/portee.h"
#include "records/symboles.h"
#include "toolbox/rect.h"

struct CandidatInspecte {
    CaractereProbable caractere;
    Rect cadreGraphe;  // the component's box, bottom and right exclusive; empty when unknown
};

struct PorteeInspectee {
    int index = 0;  // 0-based page order
    float interligne = 0;
    float ligneHaut = 0;  // band row of the top line at the band's middle column
    int16_t tailleSymboles = 0;
    Rect cadreBande;  // in page coordinates
    std::vector<CandidatInspecte> candidats;
    double millisecondes = 0;              // time of the extraction stage
    int nbGraphes = 0;                     // components of the band
    int pileMaximum = 0;                   // most entries the flood fill's stack held
    int composantesTronquees = 0;          // components the stack limit cut short
    std::vector<Liaison> liaisons;         // the staff's ties, as the page left them
    Offscreen bandeIntacte = nullptr;      // the band before line removal
    Offscreen liaisonsEffacees = nullptr;  // black where the tie stage erased the band
    Offscreen bande = nullptr;             // the band extraction worked on
    std::vector<NotePortee> notes;         // the notes and rests as the staff's stages left them
};

// What the page stages made of one staff: its start clef, its place in the
// systems and its measure boundaries.
struct StructurePortee {
    int index = 0;  // 0-based page order
    Clef clef;
    int16_t numSysteme = 0;
    int16_t indexPortee = 0;
    uint8_t accolade = 0;
    uint8_t tablature = 0;
    int16_t premiereMesure = 0;
    std::vector<Mesure> mesures;
    std::vector<Clef> changementsClef;  // between notes of a measure
};

struct InspectionPage {
    bool reconnue = false;
    int nbPortees = 0;
    std::vector<PorteeInspectee> portees;
    std::vector<StructurePortee> structure;  // every staff of the page
    int16_t nbSystemes = 0;
    int16_t nbPorteesParSysteme = 0;
    float retraitPremierGroupe = 0;
    std::vector<ChiffrageVerifie> chiffrages;  // each time signature read, and the one kept

    InspectionPage() = default;
    InspectionPage(const InspectionPage&) = delete;
    InspectionPage& operator=(const InspectionPage&) = delete;
    ~InspectionPage();  // disposes the band images
};

// Inspects the staves of Document.ImagePage; `porteeVoulue` is a 0-based
// staff index, or -1 for every staff (the other staves then have no
// candidates, hence no notes). Tuplets and ornaments are not run. The
// driver's stage table is restored on return.
void InspectePage(EtatPage& etat, const ReglagesReconnaissance& reglages,
                  const std::string& nomPage, int porteeVoulue, InspectionPage& resultat);
