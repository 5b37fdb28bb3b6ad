// Where a batch document's outputs are made and how they are put in place.
//
// A worker writes into the document's own staging folder,
// OUTDIR/.ruzo-batch/NAME/, never into OUTDIR itself. Only when it has
// finished well are its files renamed into OUTDIR (same file system, so each
// rename is atomic), the music file last: a music file in OUTDIR therefore
// means the whole set was placed, which is what --resume looks for. A batch
// that stops at any point leaves either the complete set, an older complete
// set, or files that the next run replaces; never half a file.
#pragma once

#include <string>
#include <vector>

// The files a document's recognition leaves in OUTDIR, the one that marks
// completion last.
std::vector<std::string> FichiersDocument(const std::string& nom);

std::string DossierPreparation(const std::string& sortie, const std::string& nom);

// True when the document's whole set is in OUTDIR.
bool DocumentComplet(const std::string& sortie, const std::string& nom);

// A fresh, empty staging folder for the document; false (with `erreur` set)
// when it cannot be made.
bool PrepareDossier(const std::string& sortie, const std::string& nom, std::string& erreur);

// Renames the document's files from its staging folder into OUTDIR, the
// completion mark last; false (with `erreur` set) when one is missing or a
// rename fails.
bool PlaceDocument(const std::string& sortie, const std::string& nom, std::string& erreur);

// Removes the document's staging folder, and the staging root once empty.
void EffaceDossier(const std::string& sortie, const std::string& nom);
