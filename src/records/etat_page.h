// The page-wide recognition state: one instance, cleared at the start of
// every page, filled by the stages, saved per page. The band bitmaps are
// owned by the staff stages, which dispose them (`LibereEtatPage`).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/portee.h"
#include "records/symboles.h"
#include "toolbox/pixmap.h"
#include "toolbox/rect.h"

struct EtatPage {
    int16_t PorteeCourante = 0;
    std::string NomPage;  // at most 255 characters
    uint16_t DureeTraitement = 0;  // whole seconds
    std::vector<GroupeLignes> GroupesLignes;  // staff detection only
    float InterligneMoyenne = 0;
    float EpaisseurLigne = 0;
    int16_t QualiteGeometrie = 0;
    int16_t QualiteBruit = 0;
    Rect CadreLignesPortee;
    Rect CadrePage;
    PixMap* PorteeImageIntacte = nullptr;  // the band before line removal
    PixMap* PorteeImage = nullptr;           // the band the stages work on
    std::vector<CaractereProbable> Caracteres;  // candidates of the current staff
    std::vector<Portee> Portees;                // top to bottom
    int16_t NbSystemes = 0;
    int16_t NbPorteesParSysteme = 0;
    float RetraitPremierGroupe = 0;

    int NbPorteesTrouvees() const { return static_cast<int>(Portees.size()); }
    Portee& Courante() { return Portees.at(PorteeCourante); }
};

extern EtatPage Etat;

// Releases every staff's arrays and the staff array.
void LiberePortees();
