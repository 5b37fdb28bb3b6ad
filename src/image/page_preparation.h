// Loading a page of the document and preparing it for recognition with the
// page's own options.
#pragma once

#include <string>

#include "image/automatic_threshold.h"
#include "image/offscreen.h"
#include "image/page_scale.h"

struct EntreePage;

// What loading measured of a page and did to it.
struct MesuresChargement {
    MiseALEchelle echelle;
    SeuilAutomatique seuil{kSeuilParDefaut, 0};
    bool seuilDeLaPage = false;  // the page's own threshold was used
    int quartsDeTour = 0;        // quarter turns given to a page found lying on its side
};

enum CodePreparation : int {
    kPreparationFaite = 0,
    kFichierIntrouvable = 1,   // neither in the page's folder nor the document's
    kFichierNonGraphique = 2,  // no decoder accepted the file
    kPageNonTournee = 3,       // not enough memory to turn the page
};

// Decodes the page's image file, then applies in this fixed order: turns,
// video inversion (decided here when automatic, the decision written back
// into the page), reduction of large staves to the working size (what was
// measured and done goes to `mesures` when given), thresholding (at the
// page's own threshold, else at the one chosen for it), margin removal, despeckling (when left to
// the program, only if the page measures as noisy; the choice is made anew at each load).
// `cheminDocument` is the page list's file ("" for a new list): when the
// image is found only in its folder, that folder becomes the page's and
// `entreeModifiee` (when given) is set, for the list to remember where the
// image is now. On success `image` is the new offscreen (the caller disposes
// it) and the page's size fields are set; otherwise `image` is none and the
// user was told.
int PrepareImagePage(EntreePage& page, const std::string& cheminDocument, Offscreen& image,
                     bool* entreeModifiee = nullptr, MesuresChargement* mesures = nullptr);

// True when the page's image file can be read, in the page's folder or in
// the folder of the page list `cheminDocument`.
bool ImagePageLisible(const EntreePage& page, const std::string& cheminDocument);

// One image file as recognition sees it, with the options of a new page:
// decoded, cleaned and thresholded. None when it cannot be loaded (the
// user was told). The diagnostic commands and tests start from this.
Offscreen ChargeImageReconnaissance(const std::string& chemin,
                                    MesuresChargement* mesures = nullptr);
