#include "recognition/inspection.h"

#include <chrono>

#include "recognition/page_driver.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/staff_detection.h"
#include "symbols/candidates.h"
#include "symbols/components.h"
#include "symbols/graphe.h"
#include "symbols/ties.h"

namespace {

// The inspection under way; the stage hooks below have no other way in.
InspectionPage* inspectionCourante = nullptr;
int porteeInspectee = -1;

// What the tie stage erased on the staff under way, kept until its
// extraction records it.
Offscreen liaisonsEffacees = nullptr;

void NoteStructure(EtatPage& etat, InspectionPage& resultat) {
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = etat.Portees[i];
        resultat.structure.push_back(StructurePortee{i, p.Clef, p.NumSysteme, p.IndexPortee,
                                                     p.Accolade, p.Tablature, p.PremiereMesure,
                                                     p.Mesures, p.ChangementsClef});
    }
    resultat.nbSystemes = etat.NbSystemes;
    resultat.nbPorteesParSysteme = etat.NbPorteesParSysteme;
    resultat.retraitPremierGroupe = etat.RetraitPremierGroupe;
    resultat.chiffrages = etat.Chiffrages;
}

bool LiaisonsInspectees(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    if (liaisonsEffacees) DisposeOffscreen(liaisonsEffacees);
    const bool voulue = porteeInspectee < 0 || etat.PorteeCourante == porteeInspectee;
    if (!voulue || !etat.PorteeImage) return RechercheLiaisons(etat, reglages);
    liaisonsEffacees = DupliqueOffscreen(etat.PorteeImage);
    const bool resultat = RechercheLiaisons(etat, reglages);
    if (!liaisonsEffacees) return resultat;
    const OctetsPixels& apres = etat.PorteeImage->pixels;
    for (size_t k = 0; k < apres.size(); ++k) {
        uint8_t& px = liaisonsEffacees->pixels[k];
        px = px == IndexNoir && apres[k] != IndexNoir ? IndexNoir : IndexBlanc;
    }
    return resultat;
}

// The components are cut again after extraction (the stage releases its
// table): the cut is deterministic, so the indices agree.
void NoteCadresGraphes(EtatPage& etat, PorteeInspectee& p) {
    if (!ConstruitTableGraphes(etat)) return;
    p.nbGraphes = static_cast<int>(etat.Graphes.size());
    p.pileMaximum = etat.BilanGraphes.pileMaximum;
    p.composantesTronquees = etat.BilanGraphes.composantesTronquees;
    for (CandidatInspecte& c : p.candidats) {
        const int n = c.caractere.NumGraphe;
        if (n < 0 || n >= static_cast<int>(etat.Graphes.size())) continue;
        const Rect& cadre = etat.Graphes[n].Cadre;
        c.cadreGraphe =
            Rect{cadre.top, cadre.left, static_cast<int16_t>(cadre.bottom + 1), cadre.right};
    }
    LibereTableGraphes(etat);
}

bool ExtractionInspectee(EtatPage& etat, const ReglagesReconnaissance& reglages, float interligne) {
    const int i = etat.PorteeCourante;
    if (porteeInspectee >= 0 && i != porteeInspectee) {
        ViderTableCaracteres(etat);
        return true;
    }
    const auto debut = std::chrono::steady_clock::now();
    const bool resultat = ExtractionCaracteresProbables(etat, reglages, interligne);
    const auto fin = std::chrono::steady_clock::now();

    PorteeInspectee p;
    p.index = i;
    p.interligne = interligne;
    const Portee& portee = etat.Portees[i];
    p.cadreBande = portee.CadreBande;
    if (etat.PorteeImage) p.ligneHaut = LigneHautEn(etat, i, etat.PorteeImage->largeur / 2);
    p.tailleSymboles = TailleCaracteresPortee(interligne);
    p.millisecondes = std::chrono::duration<double, std::milli>(fin - debut).count();
    for (const CaractereProbable& c : etat.Caracteres) p.candidats.push_back({c, Rect{}});
    NoteCadresGraphes(etat, p);
    if (etat.PorteeImage) p.bande = DupliqueOffscreen(etat.PorteeImage);
    if (etat.PorteeImageIntacte) p.bandeIntacte = DupliqueOffscreen(etat.PorteeImageIntacte);
    p.liaisonsEffacees = liaisonsEffacees;
    liaisonsEffacees = nullptr;
    inspectionCourante->portees.push_back(std::move(p));
    return resultat;
}

// The staves' notes once the page is done.
void NoteNotes(EtatPage& etat, InspectionPage& inspection) {
    for (PorteeInspectee& p : inspection.portees) {
        if (p.index < etat.NbPorteesTrouvees()) p.notes = etat.Portees[p.index].Symboles;
    }
}

// The staves keep their ties until the next page starts.
void NoteLiaisons(EtatPage& etat, InspectionPage& inspection) {
    for (PorteeInspectee& p : inspection.portees) {
        if (p.index < etat.NbPorteesTrouvees()) p.liaisons = etat.Portees[p.index].Liaisons;
    }
}

}  // namespace

InspectionPage::~InspectionPage() {
    for (PorteeInspectee& p : portees) {
        if (p.bande) DisposeOffscreen(p.bande);
        if (p.bandeIntacte) DisposeOffscreen(p.bandeIntacte);
        if (p.liaisonsEffacees) DisposeOffscreen(p.liaisonsEffacees);
    }
}

void InspectePage(EtatPage& etat, const ReglagesReconnaissance& reglages,
                  const std::string& nomPage, int porteeVoulue, InspectionPage& resultat) {
    const EtapesReconnaissance sauve = Etapes;
    Etapes.ExtractionCaracteresProbables = ExtractionInspectee;
    Etapes.RechercheLiaisons = LiaisonsInspectees;
    inspectionCourante = &resultat;
    porteeInspectee = porteeVoulue;

    resultat.reconnue = ReconnaitPage(Document, etat, reglages, nomPage);
    if (liaisonsEffacees) DisposeOffscreen(liaisonsEffacees);
    resultat.nbPortees = etat.NbPorteesTrouvees();
    NoteStructure(etat, resultat);
    NoteNotes(etat, resultat);
    NoteLiaisons(etat, resultat);

    inspectionCourante = nullptr;
    porteeInspectee = -1;
    Etapes = sauve;
}
