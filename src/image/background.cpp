#include "image/background.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image/page_scale.h"
#include "toolbox/pixmap.h"
#include "toolbox/work_threads.h"

namespace {

// Tiles across the page's shorter side.
constexpr int kTuilesParCote = 20;
// The share of a tile's pixels lighter than or as light as its paper grey.
constexpr int kPartPapier = 10;  // per cent
// Paper that varies by no more than this many grey levels is even.
constexpr int kEcartPapierEgal = 40;
// Paper is never taken darker than this: below it nothing of the page is
// left to read, and dividing by it would only raise noise.
constexpr int kPapierMinimal = 32;

struct Grille {
    int cote = 0;  // of a tile, in pixels
    int colonnes = 0, lignes = 0;
    std::vector<int> papier;  // per tile, row by row
    int& En(int c, int l) { return papier[static_cast<size_t>(l) * colonnes + c]; }
    int En(int c, int l) const { return papier[static_cast<size_t>(l) * colonnes + c]; }
};

// Adds the grey levels of one row's pixels in tile column c to its
// histogram; white paper (index 0) is counted eight pixels at a time.
void CompteTuile(const uint8_t* ligne, int c, int largeur, int cote,
                 const std::array<uint8_t, 256>& gris, std::array<uint32_t, 256>& histogramme) {
    const int fin = std::min(largeur, (c + 1) * cote);
    uint32_t blancs = 0;
    int x = c * cote;
    while (x < fin) {
        if (x + 8 <= fin && HuitPixels(ligne + x) == 0) {
            blancs += 8;
            x += 8;
        } else {
            ++histogramme[gris[ligne[x]]];
            ++x;
        }
    }
    histogramme[gris[0]] += blancs;
}

// The paper grey of a tile: the level of its lightest tenth of pixels.
int PapierDeTuile(const std::array<uint32_t, 256>& h) {
    uint64_t total = 0;
    for (const uint32_t n : h) total += n;
    uint64_t clairs = 0;
    int niveau = 255;
    while (niveau > 0 && (clairs + h[niveau]) * 100 < total * kPartPapier) clairs += h[niveau--];
    return niveau;
}

// The paper grey of every tile.
Grille PapierDesTuiles(const PixMap& image, const std::array<uint8_t, 256>& gris) {
    Grille g;
    g.cote = std::max(16, std::min<int>(image.largeur, image.hauteur) / kTuilesParCote);
    g.colonnes = (image.largeur + g.cote - 1) / g.cote;
    g.lignes = (image.hauteur + g.cote - 1) / g.cote;
    g.papier.assign(static_cast<size_t>(g.colonnes) * g.lignes, 255);
    // Each row of tiles is measured on its own: the slices share nothing.
    const int tranches = TranchesPourPixels(int64_t{image.largeur} * image.hauteur);
    EnTranches(g.lignes, tranches, [&](int, int debut, int fin) {
        std::vector<std::array<uint32_t, 256>> histogrammes(g.colonnes);
        for (int l = debut; l < fin; ++l) {
            for (auto& h : histogrammes) h.fill(0);
            const int y1 = std::min<int>(image.hauteur, (l + 1) * g.cote);
            for (int y = l * g.cote; y < y1; ++y) {
                const uint8_t* ligne =
                    image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne;
                for (int c = 0; c < g.colonnes; ++c)
                    CompteTuile(ligne, c, image.largeur, g.cote, gris, histogrammes[c]);
            }
            for (int c = 0; c < g.colonnes; ++c) g.En(c, l) = PapierDeTuile(histogrammes[c]);
        }
    });
    return g;
}

// Each tile's paper replaced by the median of its 3 x 3 neighbourhood, so
// that a tile filled by ink takes its neighbours' paper.
Grille Mediane(const Grille& g) {
    Grille m = g;
    for (int l = 0; l < g.lignes; ++l)
        for (int c = 0; c < g.colonnes; ++c) {
            std::vector<int> voisins;
            for (int dl = -1; dl <= 1; ++dl)
                for (int dc = -1; dc <= 1; ++dc) {
                    const int cc = c + dc, ll = l + dl;
                    if (cc >= 0 && cc < g.colonnes && ll >= 0 && ll < g.lignes)
                        voisins.push_back(g.En(cc, ll));
                }
            auto milieu = voisins.begin() + static_cast<std::ptrdiff_t>(voisins.size() / 2);
            std::nth_element(voisins.begin(), milieu, voisins.end());
            m.En(c, l) = std::max(*milieu, kPapierMinimal);
        }
    return m;
}

// The paper grey at (x, y), interpolated between the centres of the tiles
// around it.
float PapierEn(const Grille& g, int x, int y) {
    const float fx = std::clamp((x + 0.5f) / g.cote - 0.5f, 0.0f, g.colonnes - 1.0f);
    const float fy = std::clamp((y + 0.5f) / g.cote - 0.5f, 0.0f, g.lignes - 1.0f);
    const int c0 = static_cast<int>(fx), l0 = static_cast<int>(fy);
    const int c1 = std::min(c0 + 1, g.colonnes - 1), l1 = std::min(l0 + 1, g.lignes - 1);
    const float ax = fx - c0, ay = fy - l0;
    const float haut = g.En(c0, l0) * (1 - ax) + g.En(c1, l0) * ax;
    const float bas = g.En(c0, l1) * (1 - ax) + g.En(c1, l1) * ax;
    return haut * (1 - ay) + bas * ay;
}

}  // namespace

bool NormaliseFond(Offscreen image) {
    if (!image || image->largeur <= 0 || image->hauteur <= 0) return false;
    const std::array<uint8_t, 256> gris = GrisDesIndex();
    const Grille papier = Mediane(PapierDesTuiles(*image, gris));
    const auto [plusSombre, plusClair] =
        std::minmax_element(papier.papier.begin(), papier.papier.end());
    if (*plusClair - *plusSombre <= kEcartPapierEgal) return false;

    std::array<uint8_t, 256> index{};
    for (int g = 0; g < 256; ++g) index[g] = IndexDeGris(static_cast<uint8_t>(g));
    const int tranches = TranchesPourPixels(int64_t{image->largeur} * image->hauteur);
    EnTranches(image->hauteur, tranches, [&](int, int debut, int fin) {
        for (int y = debut; y < fin; ++y) {
            uint8_t* ligne = image->PremiereLigne() + static_cast<intptr_t>(y) * image->pasLigne;
            for (int x = 0; x < image->largeur; ++x) {
                const float fond = PapierEn(papier, x, y);
                const float v = gris[ligne[x]] * 255.0f / fond;
                ligne[x] = index[static_cast<uint8_t>(std::min(255L, std::lround(v)))];
            }
        }
    });
    return true;
}
