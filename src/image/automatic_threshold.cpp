#include "image/automatic_threshold.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "image/page_scale.h"
#include "image/thresholding.h"
#include "toolbox/pixmap.h"
#include "toolbox/work_threads.h"

namespace {

// Paper is anything lighter than this grey level (of 255).
constexpr int kPapier = 224;
// A stroke has paper this many rows above and below its darkest pixel, and
// its darkness is summed over the rows between.
constexpr int kDemiLargeur = 3;
// Every few columns is enough for the median, and keeps a 600 dpi page
// within a few tens of milliseconds.
constexpr int kPasColonnes = 7;
// Below this many strokes the page shows no lines to measure.
constexpr size_t kTraitsMinimaux = 200;
// Grey levels above the half-darkness of a split stroke, so that its two
// rows stay black along their length (measured on 200 dpi pages: a margin
// of 10 lost half the notes of one, 20 to 50 kept them all).
constexpr int kMarge = 25;
// Never above three quarters of white: lighter pixels are paper texture,
// shading and smudges rather than ink.
constexpr int kSeuilGrisMaximal = 192;
// `Seuillage` compares the sum of three 16-bit components.
constexpr int32_t kUnitesParGris = 3 * 257;

struct Colonnes {
    const PixMap& image;
    const std::array<uint8_t, 256>& gris;
    int Gris(int x, int y) const {
        return gris[image.PremiereLigne()[static_cast<intptr_t>(y) * image.pasLigne + x]];
    }
    // Ink in column `x` within one row of `y`.
    bool EncreVers(int x, int y) const {
        return std::min({Gris(x, y - 1), Gris(x, y), Gris(x, y + 1)}) < kPapier;
    }
};

// The darkness of the thin stroke whose darkest pixel is at (x, y), in
// units of one pixel of full black times 255; 0 when there is none there.
int MasseTrait(const Colonnes& c, int x, int y) {
    const int g = c.Gris(x, y);
    if (g >= kPapier) return 0;
    // The darkest pixel, counted once where two rows tie.
    if (g >= c.Gris(x, y - 1) || g > c.Gris(x, y + 1)) return 0;
    if (c.Gris(x, y - kDemiLargeur) < kPapier || c.Gris(x, y + kDemiLargeur) < kPapier) return 0;
    if (!c.EncreVers(x - 1, y) || !c.EncreVers(x + 1, y)) return 0;
    int masse = 0;
    for (int k = y - kDemiLargeur + 1; k < y + kDemiLargeur; ++k) masse += 255 - c.Gris(x, k);
    return masse;
}

}  // namespace

SeuilAutomatique ChoisitSeuil(Offscreen image) {
    SeuilAutomatique choix{kSeuilParDefaut, 0};
    if (!image || image->largeur < 3 || image->hauteur <= 2 * kDemiLargeur) return choix;
    const std::array<uint8_t, 256> gris = GrisDesIndex();
    const Colonnes colonnes{*image, gris};
    // The sampled columns are cut in slices, each with its strokes; the
    // median does not depend on their order.
    const int echantillons = (image->largeur - 2 + kPasColonnes - 1) / kPasColonnes;
    const int tranchesMax =
        TranchesPourPixels(int64_t{echantillons} * image->hauteur * (2 * kDemiLargeur + 1));
    const std::vector<std::vector<int>> parTranche = ResultatsParTranche(
        echantillons, tranchesMax, std::vector<int>{},
        [&](std::vector<int>& traits, int debut, int fin) {
            for (int i = debut; i < fin; ++i) {
                const int x = 1 + i * kPasColonnes;
                for (int y = kDemiLargeur; y + kDemiLargeur < image->hauteur; ++y)
                    if (const int m = MasseTrait(colonnes, x, y)) traits.push_back(m);
            }
        });
    std::vector<int> masses;
    for (const std::vector<int>& traits : parTranche)
        masses.insert(masses.end(), traits.begin(), traits.end());
    if (masses.size() < kTraitsMinimaux) return choix;

    auto milieu = masses.begin() + static_cast<std::ptrdiff_t>(masses.size() / 2);
    std::nth_element(masses.begin(), milieu, masses.end());
    choix.epaisseurTraits = static_cast<float>(*milieu) / 255.0f;
    const int grisSeuil =
        static_cast<int>(std::lround(255.0 * (1.0 - choix.epaisseurTraits / 2.0))) + kMarge;
    const int32_t seuil = std::min(grisSeuil, kSeuilGrisMaximal) * kUnitesParGris;
    choix.seuil = std::max(seuil, kSeuilParDefaut);
    return choix;
}
