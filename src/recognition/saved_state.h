// The saved recognition state of a page: its staves with their arrays, in a
// temporary file per page, so that a page's results come back when it is
// shown again or when the music file is completed.
#pragma once

#include <cstdio>

#include "records/etat_page.h"

// Writes the staves of EtatPage; false on a write error.
bool EcritEtatPage(std::FILE* fichier);

// Clears EtatPage, then reads the staves back. A damaged or truncated file
// leaves EtatPage cleared and returns false.
bool LitEtatPage(std::FILE* fichier);

// Per page of the document: replace the page's saved state, or bring it back
// (a page without one leaves EtatPage cleared).
bool SauveEtatPage(int indexPage);
bool RestaureEtatPage(int indexPage);
