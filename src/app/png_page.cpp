#include "app/png_page.h"

#include <array>

#include "toolbox/png_io.h"

namespace {

// A pixel whose mean component is below this level of 65535 is black.
constexpr uint32_t kSeuilNoir = 32512;

// Black and white for each colour index of a grey level.
std::array<uint8_t, 256> TableSeuil() {
    std::array<uint8_t, 256> table{};
    for (int gris = 0; gris < 256; ++gris) {
        const Couleur16 c = CouleurDIndex(IndexDeGris(static_cast<uint8_t>(gris)));
        const uint32_t moyenne = (uint32_t{c.rouge} + c.vert + c.bleu) / 3;
        table[gris] = moyenne < kSeuilNoir ? IndexNoir : IndexBlanc;
    }
    return table;
}

}  // namespace

Offscreen ChargePagePNG(const std::string& chemin, std::string& erreur) {
    ImageRVB image;
    if (!LitPNG(chemin, image, erreur)) return nullptr;
    Offscreen page = CreeOffscreen(image.largeur, image.hauteur);
    if (!page) {
        erreur = "not enough memory for the page";
        return nullptr;
    }
    const std::array<uint8_t, 256> table = TableSeuil();
    int64_t noirs = 0;
    for (int y = 0; y < image.hauteur; ++y) {
        const uint8_t* source = image.rvb.data() + static_cast<size_t>(y) * image.largeur * 3;
        uint8_t* ligne = page->PremiereLigne() + static_cast<size_t>(y) * page->pasLigne;
        for (int x = 0; x < image.largeur; ++x, source += 3) {
            const int gris = (source[0] * 299 + source[1] * 587 + source[2] * 114) / 1000;
            ligne[x] = table[gris];
            noirs += ligne[x] == IndexNoir;
        }
    }
    if (noirs * 2 > int64_t{image.largeur} * image.hauteur) EchangeCouleurs(page, IndexNoir, IndexBlanc);
    return page;
}
