#include "staff/page_quality.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "recognition/etat_page.h"
#include "staff/staff_geometry.h"

namespace {

constexpr int kPoidsBlancIsole = 5;

bool Isole(const uint8_t* haut, const uint8_t* ligne, const uint8_t* bas, int x) {
    const uint8_t v = ligne[x];
    return ligne[x - 1] != v && ligne[x + 1] != v && haut[x - 1] != v && haut[x] != v &&
           haut[x + 1] != v && bas[x - 1] != v && bas[x] != v && bas[x + 1] != v;
}

}  // namespace

int QualiteBruitPage(const PixMap& page) {
    const int largeur = page.largeur, hauteur = page.hauteur;
    int64_t compte = 0;
    for (int y = 1; y + 1 < hauteur; ++y) {
        const uint8_t* ligne = page.PremiereLigne() + static_cast<size_t>(y) * page.pasLigne;
        const uint8_t* haut = ligne - page.pasLigne;
        const uint8_t* bas = ligne + page.pasLigne;
        for (int x = 1; x + 1 < largeur; ++x) {
            if (!Isole(haut, ligne, bas, x)) continue;
            compte += ligne[x] == IndexBlanc ? kPoidsBlancIsole : 1;
        }
    }
    const int64_t score = 1000 - compte * 4000 / hauteur;
    return static_cast<int>(std::max<int64_t>(score, 0));
}

int QualiteGeometriePage() {
    if (Etat.Portees.empty()) return 0;
    int penteMax = 0;
    int courbureMax = 0;
    for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
        const Rect& bande = Etat.Portees[i].CadreBande;
        const int l = bande.left, r = bande.right, milieu = (l + r) / 2;
        if (!(l < milieu && milieu < r)) continue;
        const int y1 = static_cast<int>(LigneHautEn(i, l));
        const int y2 = static_cast<int>(LigneHautEn(i, milieu));
        const int y3 = static_cast<int>(LigneHautEn(i, r));
        // A staff without any sample counts as fully skewed.
        const int pente = (y1 == y2 && y2 == y3 && y1 < 0) ? 1000 : std::abs((y3 - y1) * 1000 / (r - l));
        const float interligne = InterligneEn(i, milieu);
        const int courbure = interligne >= 0.01f
                                 ? static_cast<int>(std::abs((y1 + y3) / 2 - y2) * 1000 / interligne)
                                 : 0;
        penteMax = std::max(penteMax, pente);
        courbureMax = std::max(courbureMax, courbure);
    }
    return std::max(0, 1000 - 30 * penteMax - courbureMax / 2);
}
