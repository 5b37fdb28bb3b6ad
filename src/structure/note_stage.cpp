#include "structure/note_stage.h"

#include <map>

#include "records/catalogue.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "structure/systems_measures.h"
#include "symbols/accidentals_dots.h"
#include "symbols/candidates.h"
#include "symbols/flags.h"
#include "symbols/note_cleanup.h"
#include "symbols/notes.h"
#include "symbols/stems.h"
#include "symbols/ties.h"
#include "toolbox/messages.h"

namespace {

// Flags, ties, measures and the accidentals no note took, once every head
// has its stem. False when the user cancelled.
bool CompleteNotes(EtatPage& etat, const ReglagesReconnaissance& reglages, Portee& portee,
                   const Rect& zone) {
    if (!TraiteCroches(etat, reglages)) return false;
    SupprimeTetesCreusesDansCrochets(portee);
    TrieNotes(portee);
    bool resultat = AttacheLiaisons(etat);
    if (RechercheMesures(etat, reglages)) resultat = true;
    if (resultat) resultat = TraiteAlterations(etat, reglages, zone);
    return resultat;
}

// Grace notes beamed together, that have their main note, are no clef:
// their small heads and slur must not pass for one among the music when
// the measures are looked for. A lone one may be a clef change's ink read
// as a grace note, and leaves the clef reading as it is.
void MarqueClefsSurAppogiatures(EtatPage& etat, const Portee& portee) {
    std::map<int, int> parGraphe;
    for (const NotePortee& n : portee.Symboles)
        if (n.CodeNote == kCarAppogiature && n.Etat != kNoteSupprimee) ++parGraphe[n.NumGraphe];
    for (CaractereProbable& c : etat.Caracteres) {
        const auto graces = parGraphe.find(c.NumGraphe);
        if (graces != parGraphe.end() && graces->second >= 2 &&
            (c.Code == kCarCleSol || c.Code == kCarCleFa || c.Code == kCarCleUt))
            c.Marque = 1;
    }
}

}  // namespace

bool TraiteNotes(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    Trace("Traitement des notes");
    const int i = etat.PorteeCourante;
    Portee& portee = etat.Portees.at(i);
    const Rect zone = ZoneNotesPortee(etat, i);

    bool resultat = false;
    if (CreeNotesDesCandidats(etat, reglages, i, zone)) {
        TrieNotes(portee);
        PartageQueues(reglages, portee);
        SupprimeNoiresDansBlanches(portee);
        ValideAppogiatures(portee);
        MarqueClefsSurAppogiatures(etat, portee);
        resultat = CompleteNotes(etat, reglages, portee, zone);
    }
    SupprimeCaracteresMarques(etat);
    Trace("%d notes", static_cast<int>(portee.Symboles.size()));
    return resultat;
}
