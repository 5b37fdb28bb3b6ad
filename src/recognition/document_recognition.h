// Recognition of a whole document, or of one page on its own, into a result
// file and a music file.
#pragma once

#include <functional>
#include <string>

// Told after each page of a document, with EtatPage still holding the page.
using SuiviPage = std::function<void(int indexPage, bool reussie)>;

// Every page of the document, in order, into the result file named after
// the document ("msb"), then the music file ("msf"). True only when every
// page was recognised and written and the music file is complete; the first
// page that fails ends the document.
bool ReconnaitDocument(const SuiviPage& suivi = nullptr);

// One page into a result file and a music file named after its image.
bool ReconnaitPageSeule(int indexPage);

// The files a document's recognition writes.
std::string CheminResultatDocument();
std::string CheminMusiqueDocument();
