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
// One column in three is enough for a stable histogram on an A4 page at
// 300 dpi; larger pages are sampled more sparsely, in proportion to their
// size, so that measuring a 600 dpi scan costs no more than the A4 page.
constexpr int kPasColonnes = 3;
constexpr int kDemiTourPageA4 = 2480 + 3508;
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
    const int pas =
        std::max(kPasColonnes, kPasColonnes * (image.largeur + image.hauteur) / kDemiTourPageA4);
    if (parLignes) {
        for (int y = pas / 2; y < image.hauteur; y += pas)
            CompteSuite(image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne,
                        image.largeur, 1, noirs, paires);
    } else {
        for (int x = pas / 2; x < image.largeur; x += pas)
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

// The grey level of each colour index: the mean of the colour's components.
std::array<uint8_t, 256> GrisDesIndex() {
    std::array<uint8_t, 256> gris{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        gris[i] = static_cast<uint8_t>((int32_t{c.rouge} + c.vert + c.bleu) / 3 >> 8);
    }
    return gris;
}

// The colour index of each grey level.
std::array<uint8_t, 256> IndexDesGris() {
    std::array<uint8_t, 256> index{};
    for (int g = 0; g < 256; ++g) index[g] = IndexDeGris(static_cast<uint8_t>(g));
    return index;
}

// The page as 8-bit grey levels.
PixPossede PixGrisDe(const PixMap& image) {
    PixPossede pix(pixCreate(image.largeur, image.hauteur, 8));
    if (!pix) return nullptr;
    const std::array<uint8_t, 256> gris = GrisDesIndex();
    l_uint32* donnees = pixGetData(pix.get());
    const l_int32 mots = pixGetWpl(pix.get());
    for (int y = 0; y < image.hauteur; ++y) {
        const uint8_t* source = image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne;
        l_uint32* ligne = donnees + static_cast<intptr_t>(y) * mots;
        for (int x = 0; x < image.largeur; ++x) SET_DATA_BYTE(ligne, x, gris[source[x]]);
    }
    return pix;
}

// Lanczos weight of a source pixel `d` pixels from the sampled point, over
// three lobes: sharper than linear interpolation, which smears a one-pixel
// line over three rows too faint for any threshold to keep whole.
double Lanczos3(double d) {
    if (d == 0) return 1;
    if (d <= -3 || d >= 3) return 0;
    const double a = M_PI * d;
    return 3 * std::sin(a) * std::sin(a / 3) / (a * a);
}

// For each of `n` output samples of a line enlarged by `facteur`: the first source sample read and
// the six weights (summing to 1).
struct Noyau {
    std::vector<int> premier;
    std::vector<std::array<float, 6>> poids;
};

Noyau NoyauAgrandissement(int n, double facteur) {
    Noyau k;
    k.premier.resize(n);
    k.poids.resize(n);
    for (int i = 0; i < n; ++i) {
        const double centre = (i + 0.5) / facteur - 0.5;
        const int premier = static_cast<int>(std::floor(centre)) - 2;
        double somme = 0;
        for (int t = 0; t < 6; ++t) somme += Lanczos3(centre - (premier + t));
        for (int t = 0; t < 6; ++t)
            k.poids[i][t] = static_cast<float>(Lanczos3(centre - (premier + t)) / somme);
        k.premier[i] = premier;
    }
    return k;
}

// A sample of a line, the edge repeated beyond its ends.
inline int Borne(int i, int n) {
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

// The grey page enlarged by `facteur` with a separable Lanczos filter:
// rows first into a float buffer, then columns.
PixPossede AgranditGris(PIX* gris, double facteur) {
    const int l0 = pixGetWidth(gris), h0 = pixGetHeight(gris);
    const int l1 = static_cast<int>(std::lround(l0 * facteur));
    const int h1 = static_cast<int>(std::lround(h0 * facteur));
    PixPossede sortie(pixCreate(l1, h1, 8));
    if (!sortie) return nullptr;
    const Noyau enX = NoyauAgrandissement(l1, facteur);
    const Noyau enY = NoyauAgrandissement(h1, facteur);
    std::vector<float> rangees(static_cast<size_t>(h0) * l1);
    const l_uint32* source = pixGetData(gris);
    const l_int32 motsSource = pixGetWpl(gris);
    for (int y = 0; y < h0; ++y) {
        const l_uint32* ligne = source + static_cast<intptr_t>(y) * motsSource;
        float* cible = rangees.data() + static_cast<size_t>(y) * l1;
        for (int x = 0; x < l1; ++x) {
            float v = 0;
            for (int t = 0; t < 6; ++t)
                v += enX.poids[x][t] * GET_DATA_BYTE(ligne, Borne(enX.premier[x] + t, l0));
            cible[x] = v;
        }
    }
    l_uint32* donnees = pixGetData(sortie.get());
    const l_int32 mots = pixGetWpl(sortie.get());
    for (int y = 0; y < h1; ++y) {
        l_uint32* ligne = donnees + static_cast<intptr_t>(y) * mots;
        const float* rang[6];
        for (int t = 0; t < 6; ++t)
            rang[t] = rangees.data() + static_cast<size_t>(Borne(enY.premier[y] + t, h0)) * l1;
        for (int x = 0; x < l1; ++x) {
            float v = 0;
            for (int t = 0; t < 6; ++t) v += enY.poids[y][t] * rang[t][x];
            SET_DATA_BYTE(ligne, x, static_cast<l_uint32>(std::clamp(std::lround(v), 0L, 255L)));
        }
    }
    return sortie;
}

// For each source sample of a line reduced by `facteur`: the output sample
// it falls in first and the share of its weight that goes there; the rest
// goes to the next output sample (a source pixel, `facteur` output pixels
// long, straddles at most two).
struct PartageAires {
    std::vector<int> cible;
    std::vector<float> part;
};

PartageAires PartageReduction(int n, double facteur) {
    PartageAires p;
    p.cible.resize(n);
    p.part.resize(n);
    for (int j = 0; j < n; ++j) {
        const double debut = j * facteur, fin = (j + 1) * facteur;
        const double bord = std::floor(debut) + 1;
        p.cible[j] = static_cast<int>(std::floor(debut));
        p.part[j] = static_cast<float>(fin > bord ? bord - debut : facteur);
    }
    return p;
}

// The page reduced by `facteur` (below 1) by area averaging: each output
// pixel is the mean grey of the source area it covers, pixels cut by its
// edges counted by the share inside. Every source pixel weighs the same
// whatever the factor and the phase, so a thin line or the gap between two
// beams keeps its darkness; sampling between source pixels (linear
// interpolation) drops or doubles them by turns along the page. Rows are
// reduced one at a time and summed into the output rows they cover, so no
// full-size grey copy of the page is made.
Offscreen ReduitParAires(const PixMap& source, double facteur, int largeur, int hauteur) {
    Offscreen sortie = CreeOffscreen(largeur, hauteur);
    if (!sortie) return nullptr;
    const std::array<uint8_t, 256> gris = GrisDesIndex();
    const std::array<uint8_t, 256> index = IndexDesGris();

    const PartageAires enX = PartageReduction(source.largeur, facteur);
    const PartageAires enY = PartageReduction(source.hauteur, facteur);
    // Two output rows are open at a time; each holds one spare sample for
    // the share of the last source pixel that falls past the right edge.
    std::vector<float> rangee(static_cast<size_t>(largeur) + 2);
    std::vector<float> sommes[2] = {std::vector<float>(rangee.size()),
                                    std::vector<float>(rangee.size())};
    std::vector<float> poidsColonnes(rangee.size());
    for (int j = 0; j < source.largeur; ++j) {
        const int i = std::min(enX.cible[j], largeur);
        poidsColonnes[i] += enX.part[j];
        poidsColonnes[i + 1] += static_cast<float>(facteur) - enX.part[j];
    }
    float poidsRangees[2] = {0, 0};
    int ouverte = 0;  // the output row held in sommes[0]

    const auto ecrit = [&](int y) {
        if (y >= hauteur) return;
        uint8_t* cible = sortie->PremiereLigne() + static_cast<intptr_t>(y) * sortie->pasLigne;
        for (int x = 0; x < largeur; ++x) {
            const float poids = poidsColonnes[x] * poidsRangees[0];
            const float v = poids > 0 ? sommes[0][x] / poids : 255.0f;
            cible[x] = index[static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L))];
        }
    };
    // Writes the open output row and opens the next one.
    const auto avance = [&] {
        ecrit(ouverte);
        std::swap(sommes[0], sommes[1]);
        std::fill(sommes[1].begin(), sommes[1].end(), 0.0f);
        poidsRangees[0] = poidsRangees[1];
        poidsRangees[1] = 0;
        ++ouverte;
    };
    for (int y = 0; y < source.hauteur; ++y) {
        // Every source row of the open output row is in.
        while (ouverte < enY.cible[y]) avance();
        std::fill(rangee.begin(), rangee.end(), 0.0f);
        const uint8_t* ligne = source.PremiereLigne() + static_cast<intptr_t>(y) * source.pasLigne;
        for (int j = 0; j < source.largeur; ++j) {
            const int i = std::min(enX.cible[j], largeur);
            const float g = gris[ligne[j]];
            rangee[i] += enX.part[j] * g;
            rangee[i + 1] += (static_cast<float>(facteur) - enX.part[j]) * g;
        }
        const float haut = enY.part[y], bas = static_cast<float>(facteur) - haut;
        for (size_t x = 0; x < rangee.size(); ++x) {
            sommes[0][x] += haut * rangee[x];
            sommes[1][x] += bas * rangee[x];
        }
        poidsRangees[0] += haut;
        poidsRangees[1] += bas;
    }
    while (ouverte < hauteur) avance();
    return sortie;
}

Offscreen OffscreenDeGris(PIX* pix) {
    const int largeur = pixGetWidth(pix);
    const int hauteur = pixGetHeight(pix);
    Offscreen image = CreeOffscreen(largeur, hauteur);
    if (!image) return nullptr;
    const std::array<uint8_t, 256> index = IndexDesGris();
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
    // Reduced by area averaging, with no sharpening: it would ring around
    // lines and turn grey edges black. Enlarged with the Lanczos filter.
    if (facteur < 1)
        return ReduitParAires(*image, facteur, static_cast<int>(largeur),
                              static_cast<int>(hauteur));
    PixPossede gris = PixGrisDe(*image);
    if (!gris) return nullptr;
    PixPossede echelle = AgranditGris(gris.get(), facteur);
    gris.reset();
    if (!echelle) return nullptr;
    return OffscreenDeGris(echelle.get());
}

MiseALEchelle MetPageALEchelle(Offscreen& image, int32_t seuil) {
    MiseALEchelle mise;
    mise.interligne = EstimeInterligne(image, seuil);
    if (mise.interligne <= 0) return mise;
    if (mise.interligne >= kInterligneMinimaleTravail && mise.interligne <= kInterligneMaximale)
        return mise;
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
