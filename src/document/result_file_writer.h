// The recognition result file ("msb"): one page block per recognised page,
// appended as the document is recognised, read back by the export.
#pragma once

#include <cstdio>
#include <string>

#include "records/etat_page.h"

// Creates the file and opens its document block, naming the document when
// `nomDocument` is not empty. Shows "Can't open file '%s' for writing" and
// returns nullptr when the file cannot be created.
std::FILE* OuvreFichierResultat(const std::string& chemin, const std::string& nomDocument);

// Appends the page block of `etat`. "FinPage" is written even when an
// earlier line failed; false when any write failed.
bool EcritPageResultat(std::FILE* fichier, const EtatPage& etat);

// Closes the document block and the file; false when a write failed.
bool FermeFichierResultat(std::FILE* fichier);
