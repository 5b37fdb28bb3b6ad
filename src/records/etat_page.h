// The recognition state of one page: owned by whoever recognises the page
// (the document holds the state of its current page), handed by reference
// to the driver and to every stage, cleared at the start of the page,
// saved per page. It also carries the work of the staff being recognised:
// its band bitmaps, its candidates and its component table. The band
// bitmaps are disposed by the staff stages (`LibereEtatPage`).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/aire_commande.h"
#include "records/graphe.h"
#include "records/portee.h"
#include "records/symboles.h"
#include "toolbox/pixmap.h"
#include "toolbox/rect.h"

// A time signature as the staves read it and as the measures it governs on
// the page bore it out: the one kept is the one most measures hold.
struct ChiffrageVerifie {
    int16_t NumerateurLu = 0;
    int16_t DenominateurLu = 0;
    int16_t NumerateurRetenu = 0;
    int16_t DenominateurRetenu = 0;
    int16_t MesuresComptees = 0;  // measures whose notes could judge
    int16_t MesuresLues = 0;      // of them, those that hold the one read
    int16_t MesuresRetenues = 0;  // and those that hold the one kept
};

struct EtatPage {
    int16_t PorteeCourante = 0;
    std::string NomPage;                      // at most 255 characters
    uint16_t DureeTraitement = 0;             // whole seconds
    std::vector<GroupeLignes> GroupesLignes;  // staff detection only
    float InterligneMoyenne = 0;
    float EpaisseurLigne = 0;
    int16_t QualiteGeometrie = 0;
    int16_t QualiteBruit = 0;
    Rect CadreLignesPortee;
    Rect CadrePage;
    std::vector<Portee> Portees;  // top to bottom
    int16_t NbSystemes = 0;
    int16_t NbPorteesParSysteme = 0;
    float RetraitPremierGroupe = 0;
    std::vector<ChiffrageVerifie> Chiffrages;  // one per signature read on the page

    // Handed in by the document before the page and back after it: the
    // page's index, the running numbers of notes and ties (they go on from
    // page to page), and the page's command areas.
    int16_t NumPage = 0;
    uint32_t NumeroSymbole = 1;
    uint16_t NumeroLiaison = 1;
    std::vector<AireCommande> Aires;

    // The work of the current staff, replaced staff by staff.
    PixMap* PorteeImageIntacte = nullptr;       // the band before line removal
    PixMap* PorteeImage = nullptr;              // the band the stages work on
    std::vector<CaractereProbable> Caracteres;  // candidates, in insertion order
    // Connected components of the band, built at the start of candidate
    // extraction and released at its end; candidates keep only the index.
    std::vector<Graphe> Graphes;
    BilanExtraction BilanGraphes;  // what the last extraction reported

    int NbPorteesTrouvees() const { return static_cast<int>(Portees.size()); }
    Portee& Courante() { return Portees.at(PorteeCourante); }
};

// Staves found on a page bitmap, kept for a later stage that would find them
// again on that very bitmap. `Empreinte` is the bitmap's fingerprint with the
// detection settings folded in; 0 when nothing is kept.
struct PorteesGardees {
    uint64_t Empreinte = 0;
    EtatPage Etat;
};

// Releases every staff's arrays and the staff array.
void LiberePortees(EtatPage& etat);
