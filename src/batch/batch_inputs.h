// The documents of a batch, found from what the user named: an image is a
// document of one page, a page list (.lfs) and a PDF are one document each,
// and a folder gives one document for every folder within it (itself
// included) that holds images, pages in natural order, plus every page list
// and PDF found on the way.
//
// Each document gets the name its outputs take: an image's or a page list's
// name without extension, a folder's name, and for what was found inside a
// folder the path below that folder with '/' turned into '-'
// ("pages/fife/engraved" named as "pages" gives "fife-engraved"). Two
// documents of one name would overwrite each other's outputs, so that is an
// error, as is an input that does not exist.
#pragma once

#include <string>
#include <vector>

enum class GenreDocument { Images, ListePages, Pdf };

struct DocumentLot {
    std::string source;  // the folder, page list, PDF or image, as named plus the part found
    std::string nom;     // the outputs' base name
    GenreDocument genre = GenreDocument::Images;
    std::vector<std::string> pages;  // absolute image paths, in order (Images only)
};

struct InventaireLot {
    std::vector<DocumentLot> documents;  // in the order of the inputs, natural order within
    std::vector<std::string> erreurs;    // one sentence each; documents is then not to be run
};

// True for the extensions of the page images Ruzo reads.
bool EstImagePage(const std::string& chemin);

InventaireLot TrouveDocuments(const std::vector<std::string>& entrees);
