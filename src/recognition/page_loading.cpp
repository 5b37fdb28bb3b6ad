#include "recognition/page_loading.h"

#include <string>

#include "recognition/document.h"
#include "recognition/saved_state.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

// The threshold of a page that was not thresholded when loaded: a pixel
// whose three 16-bit components add up to less than this is ink.
constexpr int32_t kSeuilReconnaissance = 97536;

// Reads a PNG page straight into black and white.
Offscreen ChargeImage(EntreePage& page) {
    const std::string chemin = page.CheminImage();
    ImageRVB image;
    std::string erreur;
    if (!LitPNG(chemin, image, erreur)) {
        Alerte("Can't read the page image '%s': %s", chemin.c_str(), erreur.c_str());
        return nullptr;
    }
    Offscreen page8 = CreeOffscreen(image.largeur, image.hauteur);
    if (page8 == nullptr) {
        Alerte("Not enough memory for the page image '%s'", chemin.c_str());
        return nullptr;
    }
    uint8_t* base = PrepareOffscreen(page8);
    const uint8_t* rvb = image.rvb.data();
    for (int y = 0; y < image.hauteur; ++y) {
        uint8_t* ligne = LignePixels(base, y);
        for (int x = 0; x < image.largeur; ++x, rvb += 3) {
            const int32_t somme = (rvb[0] + rvb[1] + rvb[2]) * 257;
            ligne[x] = somme < kSeuilReconnaissance ? IndexNoir : IndexBlanc;
        }
    }
    page.Largeur = page8->largeur;
    page.Hauteur = page8->hauteur;
    return page8;
}

}  // namespace

bool ChargePageDocument(int indexPage) {
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    Document.NumPage = static_cast<int16_t>(indexPage);
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    Document.ImagePage = ChargeImage(Document.Pages[indexPage]);
    if (Document.ImagePage == nullptr) return false;
    return RestaureEtatPage(indexPage);
}
