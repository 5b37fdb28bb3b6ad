#include "image/page_scale.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "image/thresholding.h"
#include "toolbox/messages.h"
#include "toolbox/pixmap.h"

namespace {

// Runs longer than this are stems, bar lines, margins or blank paper, never
// part of a staff: an interline of 200 px would be a 3000 dpi scan.
constexpr int kRunMaximal = 255;
// One column in three is enough for a stable histogram and keeps a 600 dpi
// page under a few tens of milliseconds.
constexpr int kPasColonnes = 3;
// The interline's mode must hold this share of the pairs counted, and at
// least this many of them (about one staff across a third of the width).
constexpr double kPartMinimaleMode = 0.02;
constexpr uint32_t kPairesMinimales = 100;
// Staff spacing is a sharp peak; specks and text give a smooth spread. The
// mode must be this many times the bins `kEcartPic` away on either side.
constexpr uint32_t kRapportPic = 3;
constexpr size_t kEcartPic = 4;
// No printed staff is closer than this (a miniature score at 150 dpi).
constexpr size_t kInterligneMinimale = 5;

// Staff spacing must show this many times as often along rows as along
// columns for a page to be taken as turned a quarter: on an upright page
// the rows cross only the odd beam or text line.
constexpr uint32_t kRapportQuartDeTour = 4;

using Histogramme = std::array<uint32_t, 2 * kRunMaximal + 2>;

// Dark by the rule of `Seuillage`: the three 16-bit components sum below
// the threshold.
std::array<bool, 256> TableNoirs(int32_t seuil) {
    std::array<bool, 256> noirs{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        noirs[i] = int32_t{c.rouge} + c.vert + c.bleu < seuil;
    }
    return noirs;
}

// Adds to `paires` the length of every black run plus the white run after
// it, along `n` pixels `pas` bytes apart (a column, or a row of a page
// turned a quarter), when the black run is no thicker than the white one
// (a staff line over the space to the next line; heads and stems are not).
// Runs cut by the page's edges are not counted.
void CompteSuite(const uint8_t* p, int n, intptr_t pas, const std::array<bool, 256>& noirs,
                 Histogramme& paires) {
    int noir = -1;  // length of the black run before the current white one; -1 before any
    int longueur = 0;
    bool courantNoir = noirs[*p];
    bool premier = true;
    for (int i = 0; i < n; ++i, p += pas) {
        const bool estNoir = noirs[*p];
        if (estNoir == courantNoir) {
            ++longueur;
            continue;
        }
        if (courantNoir) {
            noir = premier ? -1 : longueur;
        } else if (noir > 0 && noir <= longueur && noir + longueur <= 2 * kRunMaximal + 1) {
            ++paires[noir + longueur];
        }
        premier = false;
        courantNoir = estNoir;
        longueur = 1;
    }
}

// The run pairs of every few columns of the page, or of every few rows.
Histogramme PairesDePage(const PixMap& image, int32_t seuil, bool parLignes) {
    const std::array<bool, 256> noirs = TableNoirs(seuil);
    Histogramme paires{};
    if (parLignes) {
        for (int y = kPasColonnes / 2; y < image.hauteur; y += kPasColonnes)
            CompteSuite(image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne, image.largeur, 1,
                        noirs, paires);
    } else {
        for (int x = kPasColonnes / 2; x < image.largeur; x += kPasColonnes)
            CompteSuite(image.PremiereLigne() + x, image.hauteur, image.pasLigne, noirs, paires);
    }
    return paires;
}

// The bin of the histogram's mode, when it stands out as a staff's
// spacing does; 0 otherwise.
size_t ModeNet(const Histogramme& h) {
    uint64_t total = 0;
    size_t mode = 0;
    for (size_t i = 1; i < h.size(); ++i) {
        total += h[i];
        if (h[i] > h[mode]) mode = i;
    }
    if (mode < kInterligneMinimale || h[mode] < kPairesMinimales ||
        h[mode] < kPartMinimaleMode * total)
        return 0;
    const uint32_t loin =
        std::max(h[mode - kEcartPic], mode + kEcartPic < h.size() ? h[mode + kEcartPic] : 0u);
    return h[mode] < kRapportPic * loin ? 0 : mode;
}

// The mode of the histogram, refined to a fraction of a bin by the mean of
// it and its two neighbours; 0 when no bin stands out.
float ModeAffine(const Histogramme& h) {
    const size_t mode = ModeNet(h);
    if (mode == 0) return 0;
    double somme = 0, poids = 0;
    for (size_t i = mode - 1; i <= mode + 1 && i < h.size(); ++i) {
        somme += static_cast<double>(i) * h[i];
        poids += h[i];
    }
    return static_cast<float>(somme / poids);
}

struct LiberateurPix {
    void operator()(PIX* p) const { pixDestroy(&p); }
};
using PixPossede = std::unique_ptr<PIX, LiberateurPix>;

// The page as 8-bit grey levels, the mean of its colour's components.
PixPossede PixGrisDe(const PixMap& image) {
    PixPossede pix(pixCreate(image.largeur, image.hauteur, 8));
    if (!pix) return nullptr;
    std::array<uint8_t, 256> gris{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        gris[i] = static_cast<uint8_t>((int32_t{c.rouge} + c.vert + c.bleu) / 3 >> 8);
    }
    l_uint32* donnees = pixGetData(pix.get());
    const l_int32 mots = pixGetWpl(pix.get());
    for (int y = 0; y < image.hauteur; ++y) {
        const uint8_t* source = image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne;
        l_uint32* ligne = donnees + static_cast<intptr_t>(y) * mots;
        for (int x = 0; x < image.largeur; ++x) SET_DATA_BYTE(ligne, x, gris[source[x]]);
    }
    return pix;
}

Offscreen OffscreenDeGris(PIX* pix) {
    const int largeur = pixGetWidth(pix);
    const int hauteur = pixGetHeight(pix);
    Offscreen image = CreeOffscreen(largeur, hauteur);
    if (!image) return nullptr;
    std::array<uint8_t, 256> index{};
    for (int g = 0; g < 256; ++g) index[g] = IndexDeGris(static_cast<uint8_t>(g));
    const l_uint32* donnees = pixGetData(pix);
    const l_int32 mots = pixGetWpl(pix);
    for (int y = 0; y < hauteur; ++y) {
        const l_uint32* ligne = donnees + static_cast<intptr_t>(y) * mots;
        uint8_t* cible = image->PremiereLigne() + static_cast<intptr_t>(y) * image->pasLigne;
        for (int x = 0; x < largeur; ++x) cible[x] = index[GET_DATA_BYTE(ligne, x)];
    }
    return image;
}

}  // namespace

float EstimeInterligne(Offscreen image, int32_t seuil) {
    if (!image || image->largeur <= 0 || image->hauteur <= 0) return 0;
    return ModeAffine(PairesDePage(*image, seuil, false));
}

bool PorteesVerticales(Offscreen image, int32_t seuil) {
    if (!image || image->largeur <= 0 || image->hauteur <= 0) return false;
    // The pairs around each mode, so that a spacing spread over two bins
    // by skew weighs as much as a sharp one.
    const auto poids = [](const Histogramme& h) {
        const size_t mode = ModeNet(h);
        return mode == 0 ? 0u : h[mode - 1] + h[mode] + (mode + 1 < h.size() ? h[mode + 1] : 0u);
    };
    const uint32_t enLignes = poids(PairesDePage(*image, seuil, false));
    const uint32_t enColonnes = poids(PairesDePage(*image, seuil, true));
    return enColonnes > kRapportQuartDeTour * std::max(enLignes, 1u);
}

Offscreen ReechantillonnePage(Offscreen image, float facteur) {
    if (!image || !(facteur > 0)) return nullptr;
    const double largeur = std::round(image->largeur * double{facteur});
    const double hauteur = std::round(image->hauteur * double{facteur});
    if (largeur < 1 || hauteur < 1 || largeur > kDimensionMax || hauteur > kDimensionMax)
        return nullptr;
    PixPossede gris = PixGrisDe(*image);
    if (!gris) return nullptr;
    // No sharpening: it would ring around lines and turn grey edges black.
    PixPossede echelle(pixScaleGeneral(gris.get(), facteur, facteur, 0.0f, 0));
    gris.reset();
    if (!echelle) return nullptr;
    return OffscreenDeGris(echelle.get());
}

MiseALEchelle MetPageALEchelle(Offscreen& image, int32_t seuil) {
    MiseALEchelle mise;
    mise.interligne = EstimeInterligne(image, seuil);
    if (mise.interligne <= kInterligneMaximale) return mise;
    const float facteur = kInterligneCible / mise.interligne;
    Offscreen nouvelle = ReechantillonnePage(image, facteur);
    if (!nouvelle) {
        Trace("Page left at its size: no memory to resample it by %.2f", facteur);
        return mise;
    }
    DisposeOffscreen(image);
    image = nouvelle;
    mise.facteur = facteur;
    Trace("Interline %.2f px: page resampled by %.3f", mise.interligne, facteur);
    return mise;
}
