#include "structure/note_stage.h"

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
        resultat = CompleteNotes(etat, reglages, portee, zone);
    }
    SupprimeCaracteresMarques(etat);
    Trace("%d notes", static_cast<int>(portee.Symboles.size()));
    return resultat;
}
