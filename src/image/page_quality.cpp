#include "image/page_quality.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "toolbox/work_threads.h"

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
    // Rows 1 to hauteur - 2, in slices counted on their own.
    const int tranchesMax = TranchesPourPixels(int64_t{largeur} * hauteur);
    const std::vector<int64_t> comptes = ResultatsParTranche(
        std::max(hauteur - 2, 0), tranchesMax, int64_t{0},
        [&](int64_t& compte, int debut, int fin) {
            for (int y = debut + 1; y < fin + 1; ++y) {
                const uint8_t* ligne =
                    page.PremiereLigne() + static_cast<size_t>(y) * page.pasLigne;
                const uint8_t* haut = ligne - page.pasLigne;
                const uint8_t* bas = ligne + page.pasLigne;
                for (int x = 1; x + 1 < largeur; ++x) {
                    // Nine equal pixels in a row (the paper, mostly): none of the
                    // last eight is isolated, each has its left neighbour's colour.
                    if (x + 9 <= largeur && HuitPixels(ligne + x - 1) == HuitPixels(ligne + x)) {
                        x += 7;
                        continue;
                    }
                    if (!Isole(haut, ligne, bas, x)) continue;
                    compte += ligne[x] == IndexBlanc ? kPoidsBlancIsole : 1;
                }
            }
        });
    int64_t compte = 0;
    for (const int64_t c : comptes) compte += c;
    const int64_t score = 1000 - compte * 4000 / hauteur;
    return static_cast<int>(std::max<int64_t>(score, 0));
}
