// Reading a result file back into the document model.
//
// The reader trusts nothing in the file: a part number out of range or a
// measure block without its "Mesure" is skipped; counts beyond what a score
// can hold, negative counts and durations, a file cut short or without
// "DebutDocument" fail with a message naming the file, and the model is
// left empty.
#pragma once

#include <cstdio>
#include <string>

#include "document/document_model.h"

// Limits of a document, far beyond any real score, that keep a damaged file
// from making the reader allocate without bound.
constexpr int kNbPartiesMax = 64;
constexpr int kNbMesuresMax = 4000;

bool LitFichierResultat(const std::string& chemin, DocumentMusical& document);

// Joins the halves of the ties a line break cut: a tie that starts in the
// last measure of a line and finds no end there, and one that ends in the
// first measure of the next line and has no start, at the same staff
// position, become one tie (the end takes the start's number). Done by the
// reader for every part.
void RelieLiaisonsCoupees(PorteeDoc& partie);

// The same from an open file, `nom` naming it in messages.
bool LitDocumentResultat(std::FILE* fichier, const std::string& nom, DocumentMusical& document);
