#include "toolbox/pixmap.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Levels of the ramps, from light to dark, leaving out the cube's own levels.
constexpr std::array<uint8_t, 10> kNiveauxRampe = {0xEE, 0xDD, 0xBB, 0xAA, 0x88,
                                                   0x77, 0x55, 0x44, 0x22, 0x11};

constexpr uint16_t Etend(uint8_t v) {
    return static_cast<uint16_t>(v * 257);
}

constexpr std::array<Couleur16, 256> ConstruitTable() {
    std::array<Couleur16, 256> t{};
    for (int i = 0; i < 215; ++i) {
        const uint8_t r = static_cast<uint8_t>((5 - i / 36) * 0x33);
        const uint8_t g = static_cast<uint8_t>((5 - (i / 6) % 6) * 0x33);
        const uint8_t b = static_cast<uint8_t>((5 - i % 6) * 0x33);
        t[i] = Couleur16{Etend(r), Etend(g), Etend(b)};
    }
    for (int k = 0; k < 10; ++k) {
        const uint16_t v = Etend(kNiveauxRampe[k]);
        t[215 + k] = Couleur16{v, 0, 0};
        t[225 + k] = Couleur16{0, v, 0};
        t[235 + k] = Couleur16{0, 0, v};
        t[245 + k] = Couleur16{v, v, v};
    }
    t[255] = Couleur16{0, 0, 0};
    return t;
}

constexpr std::array<Couleur16, 256> kTable = ConstruitTable();

std::array<uint8_t, 256> ConstruitTableGris() {
    std::array<uint8_t, 256> g{};
    for (int v = 0; v < 256; ++v) {
        const uint16_t c = Etend(static_cast<uint8_t>(v));
        g[v] = IndexDeCouleur(Couleur16{c, c, c});
    }
    return g;
}

}  // namespace

int PasLignePourLargeur(int largeur) {
    const int arrondi = (largeur + 3) & ~3;
    return arrondi <= kDimensionMax ? arrondi : largeur;
}

uint64_t EmpreintePixMap(const PixMap& carte) {
    // FNV-1a over 8-byte words: a page hashes in a few milliseconds.
    constexpr uint64_t kPremier = 0x100000001b3ULL;
    uint64_t h = 0xcbf29ce484222325ULL;
    const auto melange = [&](uint64_t mot) { h = (h ^ mot) * kPremier; };
    melange(static_cast<uint64_t>(static_cast<uint16_t>(carte.largeur)) << 16 |
            static_cast<uint16_t>(carte.hauteur));
    const size_t largeur = carte.largeur > 0 ? static_cast<size_t>(carte.largeur) : 0;
    for (int y = 0; y < carte.hauteur; ++y) {
        const uint8_t* ligne = carte.PremiereLigne() + static_cast<size_t>(y) * carte.pasLigne;
        size_t x = 0;
        for (; x + 8 <= largeur; x += 8) {
            uint64_t mot;
            std::memcpy(&mot, ligne + x, 8);
            melange(mot);
        }
        uint64_t reste = 0;
        std::memcpy(&reste, ligne + x, largeur - x);
        melange(reste);
    }
    return h != 0 ? h : 1;
}

namespace {

// Blocks from this size on are page-sized images: aligned on, and rounded
// to, huge pages.
constexpr size_t kTailleGrandBloc = size_t{1} << 20;
constexpr size_t kTailleHugePage = size_t{2} << 20;

size_t TailleArrondie(size_t taille) {
    return (taille + kTailleHugePage - 1) / kTailleHugePage * kTailleHugePage;
}

}  // namespace

void* AlloueOctetsPixels(size_t taille) {
    if (taille < kTailleGrandBloc) return ::operator new(taille);
    void* octets = std::aligned_alloc(kTailleHugePage, TailleArrondie(taille));
    if (!octets) throw std::bad_alloc();
    // Only a hint: refused or unsupported, the block is simply in ordinary pages.
    madvise(octets, TailleArrondie(taille), MADV_HUGEPAGE);
    return octets;
}

void LibereOctetsPixels(void* octets, size_t taille) noexcept {
    if (taille < kTailleGrandBloc)
        ::operator delete(octets);
    else
        std::free(octets);
}

PixMap* AlloueePixMap(int largeur, int hauteur, int profondeur, bool efface) {
    if (largeur <= 0 || hauteur <= 0 || largeur > kDimensionMax || hauteur > kDimensionMax)
        return nullptr;
    auto* p = new (std::nothrow) PixMap;
    if (!p) return nullptr;
    p->largeur = static_cast<int16_t>(largeur);
    p->hauteur = static_cast<int16_t>(hauteur);
    p->pasLigne = PasLignePourLargeur(largeur);
    p->profondeur = static_cast<int16_t>(profondeur);
    try {
        p->pixels.resize(static_cast<size_t>(p->pasLigne) * hauteur);
        if (efface) std::fill(p->pixels.begin(), p->pixels.end(), 0);  // 0 is white
    } catch (const std::bad_alloc&) {
        delete p;
        return nullptr;
    }
    return p;
}

Couleur16 CouleurDIndex(uint8_t index) {
    return kTable[index];
}

uint8_t IndexDeCouleur(Couleur16 c) {
    int meilleur = 0;
    int64_t distanceMin = INT64_MAX;
    for (int i = 0; i < 256; ++i) {
        const int64_t dr = int64_t{c.rouge} - kTable[i].rouge;
        const int64_t dv = int64_t{c.vert} - kTable[i].vert;
        const int64_t db = int64_t{c.bleu} - kTable[i].bleu;
        const int64_t d = dr * dr + dv * dv + db * db;
        if (d < distanceMin) {
            distanceMin = d;
            meilleur = i;
        }
    }
    return static_cast<uint8_t>(meilleur);
}

uint8_t IndexDeGris(uint8_t gris) {
    static const std::array<uint8_t, 256> table = ConstruitTableGris();
    return table[gris];
}
