#include "structure/note_stage.h"

#include "records/etat_page.h"
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
bool CompleteNotes(Portee& portee, const Rect& zone) {
    if (!TraiteCroches()) return false;
    TrieNotes(portee);
    bool resultat = AttacheLiaisons();
    if (RechercheMesures()) resultat = true;
    if (resultat) resultat = TraiteAlterations(zone);
    return resultat;
}

}  // namespace

bool TraiteNotes() {
    Trace("Traitement des notes");
    const int i = Etat.PorteeCourante;
    Portee& portee = Etat.Portees.at(i);
    const Rect zone = ZoneNotesPortee(i);

    bool resultat = false;
    if (CreeNotesDesCandidats(i, zone)) {
        TrieNotes(portee);
        PartageQueues(portee);
        SupprimeNoiresDansBlanches(portee);
        ValideAppogiatures(portee);
        resultat = CompleteNotes(portee, zone);
    }
    SupprimeCaracteresMarques();
    Trace("%d notes", static_cast<int>(portee.Symboles.size()));
    return resultat;
}
