// Recognition of a whole document, or of one page on its own, into a result
// file and a music file. Each page stands on its own: one that fails is
// reported and left out, and the others are recognised and written.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Told after each page of a document, with EtatPage still holding the page.
using SuiviPage = std::function<void(int indexPage, bool reussie)>;

// Where a recognition writes its result file and its music file: usually
// the fresh files of an output set, put in place by the caller once
// everything of the run is complete.
struct FichiersReconnaissance {
    std::string resultat;
    std::string musique;
};

// What a recognition delivered.
struct BilanReconnaissance {
    std::vector<int> reconnues;   // indexes of the pages recognised and written
    std::vector<int> echouees;    // indexes of the pages that failed
    std::vector<int> illisibles;  // of those, the pages whose image could not be read
    bool annulee = false;         // the user asked to stop: nothing is complete
    bool musique = false;         // the result and music files are complete
};

// Every page of the document, in order, into the result file, then the
// music file from the pages recognised. The music file is made only when at
// least one page was recognised and the run was not cancelled.
BilanReconnaissance ReconnaitDocument(const FichiersReconnaissance& fichiers,
                                      const SuiviPage& suivi = nullptr);

// One page into a result file and a music file of its own.
BilanReconnaissance ReconnaitPageSeule(int indexPage, const FichiersReconnaissance& fichiers);

// The same for a caller that wants the files under their own names (the
// document's, or the page image's): written as fresh files, put in place
// together when the music file is complete, then announced to the score
// editor. True when they were put in place.
bool ReconnaitDocumentEnPlace(const SuiviPage& suivi = nullptr);
bool ReconnaitPageSeuleEnPlace(int indexPage);

// The names a document's files take.
std::string CheminResultatDocument();
std::string CheminMusiqueDocument();
