#include "image/page_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "image/thresholding.h"
#include "toolbox/messages.h"
#include "toolbox/pixmap.h"
#include "toolbox/work_threads.h"

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

// An enlarged page is thresholded on its own 256 grey levels, and a thin
// stroke that the filter spread over several rows at less than half its
// darkness (a line that fell between two rows of the scan) keeps its ridge:
// a pixel darker than this grey level, a step of `kMarcheCrete` darker than
// the pixels about one source pixel away on both sides across the stroke.
// Raising the threshold instead would keep such lines but turn black the
// soft edges of every head, beam and accidental, closing a flat's bowl or
// the gap between two beams (at 150 dpi the useful threshold was a window
// a few grey levels wide, different on every page).
constexpr int kGrisCreteMaximal = 170;
constexpr int kMarcheCrete = 20;
// `Seuillage` compares the sum of three 16-bit components.
constexpr int32_t kUnitesParGris = 3 * 257;

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

// The runs along one line of pixels (a column, or a row of a page turned a
// quarter), fed one pixel at a time: it adds to `paires` the length of
// every black run plus the white run after it, when the black run is no
// thicker than the white one (a staff line over the space to the next
// line; heads and stems are not). Runs cut by the page's edges are not
// counted.
class Suite {
  public:
    explicit Suite(bool premierNoir) : courantNoir_(premierNoir) {}

    void Ajoute(bool estNoir, Histogramme& paires) {
        if (estNoir == courantNoir_) {
            ++longueur_;
            return;
        }
        if (courantNoir_) {
            noir_ = premier_ ? -1 : longueur_;
        } else if (noir_ > 0 && noir_ <= longueur_ && noir_ + longueur_ <= 2 * kRunMaximal + 1) {
            ++paires[noir_ + longueur_];
        }
        premier_ = false;
        courantNoir_ = estNoir;
        longueur_ = 1;
    }

  private:
    int noir_ = -1;  // length of the black run before the current white one; -1 before any
    int longueur_ = 0;
    bool courantNoir_;
    bool premier_ = true;
};

// The run pairs of every few columns of the page, or of every few rows.
// Columns are followed all at once, row after row, so that the page is read
// in memory order. The lines sampled are cut in slices, each with its
// histogram, added up at the end.
Histogramme PairesDePage(const PixMap& image, int32_t seuil, bool parLignes) {
    const std::array<bool, 256> noirs = TableNoirs(seuil);
    const int pas =
        std::max(kPasColonnes, kPasColonnes * (image.largeur + image.hauteur) / kDemiTourPageA4);
    const auto ligne = [&image](int y) {
        return image.PremiereLigne() + static_cast<intptr_t>(y) * image.pasLigne;
    };
    const int longueur = parLignes ? image.largeur : image.hauteur;
    const int echantillons =
        ((parLignes ? image.hauteur : image.largeur) - pas / 2 + pas - 1) / pas;
    const int tranchesMax = TranchesPourPixels(int64_t{echantillons} * longueur);
    const std::vector<Histogramme> parTranche = ResultatsParTranche(
        echantillons, tranchesMax, Histogramme{}, [&](Histogramme& paires, int debut, int fin) {
            if (parLignes) {
                for (int i = debut; i < fin; ++i) {
                    const uint8_t* p = ligne(pas / 2 + i * pas);
                    Suite suite(noirs[p[0]]);
                    for (int x = 0; x < image.largeur; ++x) suite.Ajoute(noirs[p[x]], paires);
                }
                return;
            }
            const int premiere = pas / 2 + debut * pas;
            std::vector<Suite> suites;
            for (int i = debut; i < fin; ++i)
                suites.emplace_back(noirs[ligne(0)[pas / 2 + i * pas]]);
            for (int y = 0; y < image.hauteur; ++y) {
                const uint8_t* p = ligne(y) + premiere;
                for (size_t i = 0; i < suites.size(); ++i, p += pas)
                    suites[i].Ajoute(noirs[*p], paires);
            }
        });
    Histogramme paires{};
    for (const Histogramme& partie : parTranche)
        for (size_t i = 0; i < paires.size(); ++i) paires[i] += partie[i];
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

// A page of 256 grey levels (0 black), rows packed: an enlarged page before
// it is thresholded, finer than the colour table's sixteen greys.
struct PageGrise {
    int largeur = 0;
    int hauteur = 0;
    std::vector<uint8_t> gris;
    int Gris(int x, int y) const { return gris[static_cast<size_t>(y) * largeur + x]; }
};

// The colour index of each grey level.
std::array<uint8_t, 256> IndexDesGris() {
    std::array<uint8_t, 256> index{};
    for (int g = 0; g < 256; ++g) index[g] = IndexDeGris(static_cast<uint8_t>(g));
    return index;
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

// The page enlarged by `facteur` with a separable Lanczos filter, rows
// first into a float buffer, then columns, into 256 grey levels: the
// colour table's sixteen greys would cut a faint line's rows in steps too
// coarse to threshold it well.
bool AgranditGris(const PixMap& source, double facteur, PageGrise& sortie) {
    const int l0 = source.largeur, h0 = source.hauteur;
    const int l1 = static_cast<int>(std::lround(l0 * facteur));
    const int h1 = static_cast<int>(std::lround(h0 * facteur));
    const std::array<uint8_t, 256> gris = GrisDesIndex();
    const Noyau enX = NoyauAgrandissement(l1, facteur);
    const Noyau enY = NoyauAgrandissement(h1, facteur);
    std::vector<float> rangees;
    try {
        rangees.resize(static_cast<size_t>(h0) * l1);
        sortie.gris.resize(static_cast<size_t>(h1) * l1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    sortie.largeur = l1;
    sortie.hauteur = h1;
    for (int y = 0; y < h0; ++y) {
        const uint8_t* ligne = source.PremiereLigne() + static_cast<intptr_t>(y) * source.pasLigne;
        float* cible = rangees.data() + static_cast<size_t>(y) * l1;
        for (int x = 0; x < l1; ++x) {
            float v = 0;
            for (int t = 0; t < 6; ++t)
                v += enX.poids[x][t] * gris[ligne[Borne(enX.premier[x] + t, l0)]];
            cible[x] = v;
        }
    }
    for (int y = 0; y < h1; ++y) {
        uint8_t* ligne = sortie.gris.data() + static_cast<size_t>(y) * l1;
        const float* rang[6];
        for (int t = 0; t < 6; ++t)
            rang[t] = rangees.data() + static_cast<size_t>(Borne(enY.premier[y] + t, h0)) * l1;
        for (int x = 0; x < l1; ++x) {
            float v = 0;
            for (int t = 0; t < 6; ++t) v += enY.poids[y][t] * rang[t][x];
            ligne[x] = static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
        }
    }
    return true;
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

// The grey page in the colour table's nearest greys.
Offscreen OffscreenDeGris(const PageGrise& page) {
    Offscreen image = CreeOffscreen(page.largeur, page.hauteur);
    if (!image) return nullptr;
    const std::array<uint8_t, 256> index = IndexDesGris();
    for (int y = 0; y < page.hauteur; ++y) {
        const uint8_t* source = page.gris.data() + static_cast<size_t>(y) * page.largeur;
        uint8_t* cible = image->PremiereLigne() + static_cast<intptr_t>(y) * image->pasLigne;
        for (int x = 0; x < page.largeur; ++x) cible[x] = index[source[x]];
    }
    return image;
}

// True when (x, y) lies on the ridge of a thin stroke running across the
// direction (dx, dy): no lighter than its two neighbours along it, and a
// clear step darker than the pixels `ecart` away on both sides.
bool SurCrete(const PageGrise& page, int x, int y, int dx, int dy, int ecart) {
    const int g = page.Gris(x, y);
    return g <= page.Gris(x - dx, y - dy) && g <= page.Gris(x + dx, y + dy) &&
           g + kMarcheCrete <= page.Gris(x - ecart * dx, y - ecart * dy) &&
           g + kMarcheCrete <= page.Gris(x + ecart * dx, y + ecart * dy);
}

// The enlarged grey page in black and white: black where the grey, as
// three 16-bit components, sums below `seuil` (the rule of `Seuillage`),
// and, with `cretes`, along the ridges of thin strokes darker than
// `kGrisCreteMaximal` (see `kMarcheCrete`). A stroke's ridge is a pixel
// wide, which is what the threshold had lost: the stroke keeps its
// length without the soft edges of heads and beams turning black around it.
Offscreen OffscreenSeuille(const PageGrise& page, int32_t seuil, bool cretes, int ecart) {
    Offscreen image = CreeOffscreen(page.largeur, page.hauteur);
    if (!image) return nullptr;
    for (int y = 0; y < page.hauteur; ++y) {
        uint8_t* cible = image->PremiereLigne() + static_cast<intptr_t>(y) * image->pasLigne;
        const bool interieure = y >= ecart && y + ecart < page.hauteur;
        for (int x = 0; x < page.largeur; ++x) {
            const int g = page.Gris(x, y);
            bool noir = kUnitesParGris * g < seuil;
            if (!noir && cretes && g < kGrisCreteMaximal && interieure && x >= ecart &&
                x + ecart < page.largeur)
                noir = SurCrete(page, x, y, 0, 1, ecart) || SurCrete(page, x, y, 1, 0, ecart);
            cible[x] = noir ? IndexNoir : IndexBlanc;
        }
    }
    return image;
}

// The dimensions of `image` resampled by `facteur`, false when out of range.
bool DimensionsEchelle(const PixMap& image, float facteur, int& largeur, int& hauteur) {
    if (!(facteur > 0)) return false;
    const double l = std::round(image.largeur * double{facteur});
    const double h = std::round(image.hauteur * double{facteur});
    if (l < 1 || h < 1 || l > kDimensionMax || h > kDimensionMax) return false;
    largeur = static_cast<int>(l);
    hauteur = static_cast<int>(h);
    return true;
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
    int largeur = 0, hauteur = 0;
    if (!image || !DimensionsEchelle(*image, facteur, largeur, hauteur)) return nullptr;
    // Reduced by area averaging, with no sharpening: it would ring around
    // lines and turn grey edges black. Enlarged with the Lanczos filter.
    if (facteur < 1) return ReduitParAires(*image, facteur, largeur, hauteur);
    PageGrise grise;
    if (!AgranditGris(*image, facteur, grise)) return nullptr;
    return OffscreenDeGris(grise);
}

Offscreen AgranditEtSeuille(Offscreen image, float facteur, std::optional<int32_t> seuil) {
    int largeur = 0, hauteur = 0;
    if (!image || facteur <= 1 || !DimensionsEchelle(*image, facteur, largeur, hauteur))
        return nullptr;
    PageGrise grise;
    if (!AgranditGris(*image, facteur, grise)) return nullptr;
    // One source pixel away: past a thin stroke's centre, and on a stroke
    // split evenly over two source rows, halfway out into the paper.
    const int ecart = std::max(2, static_cast<int>(std::lround(facteur)));
    return OffscreenSeuille(grise, seuil.value_or(kSeuilParDefaut), !seuil, ecart);
}

MiseALEchelle MetPageALEchelle(Offscreen& image, int32_t seuil,
                               std::optional<int32_t> seuilAgrandie) {
    MiseALEchelle mise;
    mise.interligne = EstimeInterligne(image, seuil);
    if (mise.interligne <= 0) return mise;
    if (mise.interligne >= kInterligneMinimaleTravail && mise.interligne <= kInterligneMaximale)
        return mise;
    const float facteur = kInterligneCible / mise.interligne;
    Offscreen nouvelle = facteur < 1 ? ReechantillonnePage(image, facteur)
                                     : AgranditEtSeuille(image, facteur, seuilAgrandie);
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

std::array<uint8_t, 256> GrisDesIndex() {
    std::array<uint8_t, 256> gris{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        gris[i] = static_cast<uint8_t>((int32_t{c.rouge} + c.vert + c.bleu) / 3 >> 8);
    }
    return gris;
}
