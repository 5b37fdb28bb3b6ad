// The page list file ("lfs"): the document's pages with their load options
// and command areas, the document-wide values and the recognition options,
// as a keyword text file.
#pragma once

#include <string>
#include <vector>

#include "recognition/page_list_reader.h"

// Writes the whole file (header and document block) for the current
// document into the current keyword file; false at the first failed write.
bool EcritListePages();

// The name the save dialog proposes: the document's own, or for a new
// document the first page's image file name with the extension "lfs"; ""
// for a new document without pages.
std::string NomProposeListe();

// Opens the page list `chemin` as the current document, with the standard
// options and default tuning values under what it holds, and loads its
// current page when `chargePage` is set. A missing file ("File '%s', not
// found", when `avertir`) or an invalid one ("'%s' is not a valid LFS file")
// leaves the current document unchanged and returns false.
bool ChargeListe(const std::string& chemin, bool avertir, bool chargePage = true);

// Saves the document. A non-empty `chemin` (the save dialog's choice, its
// extension made "lfs") becomes the document's location first; without it
// the document's own is used, and a document without one is not saved. The
// file is replaced only when wholly written, so a failed save leaves the
// previous list intact; "Can't open '%s' for writing" when it cannot be
// created. Success clears the modified flag.
bool SauveListe(const std::string& chemin = "");
