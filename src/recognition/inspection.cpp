#include "recognition/inspection.h"

#include <chrono>

#include "records/etat_page.h"
#include "recognition/page_driver.h"
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

void NoteStructure(InspectionPage& resultat) {
    for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = Etat.Portees[i];
        resultat.structure.push_back(StructurePortee{i, p.Clef, p.NumSysteme, p.IndexPortee,
                                                     p.Accolade, p.Tablature, p.PremiereMesure,
                                                     p.Mesures});
    }
    resultat.nbSystemes = Etat.NbSystemes;
    resultat.nbPorteesParSysteme = Etat.NbPorteesParSysteme;
    resultat.retraitPremierGroupe = Etat.RetraitPremierGroupe;
}

bool LiaisonsInspectees() {
    if (liaisonsEffacees) DisposeOffscreen(liaisonsEffacees);
    const bool voulue = porteeInspectee < 0 || Etat.PorteeCourante == porteeInspectee;
    if (!voulue || !Etat.PorteeImage) return RechercheLiaisons();
    liaisonsEffacees = DupliqueOffscreen(Etat.PorteeImage);
    const bool resultat = RechercheLiaisons();
    if (!liaisonsEffacees) return resultat;
    const std::vector<uint8_t>& apres = Etat.PorteeImage->pixels;
    for (size_t k = 0; k < apres.size(); ++k) {
        uint8_t& px = liaisonsEffacees->pixels[k];
        px = px == IndexNoir && apres[k] != IndexNoir ? IndexNoir : IndexBlanc;
    }
    return resultat;
}

// The components are cut again after extraction (the stage releases its
// table): the cut is deterministic, so the indices agree.
void NoteCadresGraphes(PorteeInspectee& p) {
    if (!ConstruitTableGraphes()) return;
    p.nbGraphes = static_cast<int>(TableGraphes.size());
    p.pileMaximum = BilanTableGraphes.pileMaximum;
    p.composantesTronquees = BilanTableGraphes.composantesTronquees;
    for (CandidatInspecte& c : p.candidats) {
        const int n = c.caractere.NumGraphe;
        if (n < 0 || n >= static_cast<int>(TableGraphes.size())) continue;
        const Rect& cadre = TableGraphes[n].Cadre;
        c.cadreGraphe = Rect{cadre.top, cadre.left, static_cast<int16_t>(cadre.bottom + 1), cadre.right};
    }
    LibereTableGraphes();
}

bool ExtractionInspectee(float interligne) {
    const int i = Etat.PorteeCourante;
    if (porteeInspectee >= 0 && i != porteeInspectee) {
        ViderTableCaracteres();
        return true;
    }
    const auto debut = std::chrono::steady_clock::now();
    const bool resultat = ExtractionCaracteresProbables(interligne);
    const auto fin = std::chrono::steady_clock::now();

    PorteeInspectee p;
    p.index = i;
    p.interligne = interligne;
    const Portee& portee = Etat.Portees[i];
    p.cadreBande = portee.CadreBande;
    if (Etat.PorteeImage)
        p.ligneHaut = LigneHautEn(i, Etat.PorteeImage->largeur / 2);
    p.tailleSymboles = TailleCaracteresPortee(interligne);
    p.millisecondes = std::chrono::duration<double, std::milli>(fin - debut).count();
    for (const CaractereProbable& c : Etat.Caracteres) p.candidats.push_back({c, Rect{}});
    NoteCadresGraphes(p);
    if (Etat.PorteeImage) p.bande = DupliqueOffscreen(Etat.PorteeImage);
    if (Etat.PorteeImageIntacte) p.bandeIntacte = DupliqueOffscreen(Etat.PorteeImageIntacte);
    p.liaisonsEffacees = liaisonsEffacees;
    liaisonsEffacees = nullptr;
    inspectionCourante->portees.push_back(std::move(p));
    return resultat;
}

// The staves' notes once the page is done.
void NoteNotes(InspectionPage& inspection) {
    for (PorteeInspectee& p : inspection.portees) {
        if (p.index < Etat.NbPorteesTrouvees()) p.notes = Etat.Portees[p.index].Symboles;
    }
}

// The staves keep their ties until the next page starts.
void NoteLiaisons(InspectionPage& inspection) {
    for (PorteeInspectee& p : inspection.portees) {
        if (p.index < Etat.NbPorteesTrouvees()) p.liaisons = Etat.Portees[p.index].Liaisons;
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

void InspectePage(const std::string& nomPage, int porteeVoulue, InspectionPage& resultat) {
    const EtapesReconnaissance sauve = Etapes;
    Etapes.ExtractionCaracteresProbables = ExtractionInspectee;
    Etapes.RechercheLiaisons = LiaisonsInspectees;
    inspectionCourante = &resultat;
    porteeInspectee = porteeVoulue;

    resultat.reconnue = ReconnaitPage(nomPage);
    if (liaisonsEffacees) DisposeOffscreen(liaisonsEffacees);
    resultat.nbPortees = Etat.NbPorteesTrouvees();
    NoteStructure(resultat);
    NoteNotes(resultat);
    NoteLiaisons(resultat);

    inspectionCourante = nullptr;
    porteeInspectee = -1;
    Etapes = sauve;
}
