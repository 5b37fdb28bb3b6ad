// The saved recognition state of a page: its staves with their arrays, in a
// temporary file per page, so that a page's results come back when it is
// shown again or when the music file is completed.
#pragma once

#include <cstdio>

#include "records/etat_page.h"

// Writes the staves of the page state; false on a write error.
bool EcritEtatPage(std::FILE* fichier, const EtatPage& etat);

// Clears the page state, then reads the staves back. A damaged or truncated
// file leaves it cleared and returns false.
bool LitEtatPage(std::FILE* fichier, EtatPage& etat);

// Per page of the document: replace the page's saved state from the state
// the document holds (`Document.Etat`), or bring it back there (a page
// without one leaves it cleared).
bool SauveEtatPage(int indexPage);
bool RestaureEtatPage(int indexPage);
