// Indexed pixel maps and the one colour table they all share.
//
// Every image of the program is 8 bits per pixel; each byte is an index into
// a 256-entry table of 16-bit RGB colours. The table is the classic system
// table: a 6 x 6 x 6 colour cube, ramps of red, green, blue and grey, white at
// index 0 and black at index 255.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "toolbox/rect.h"

struct Couleur16 {
    uint16_t rouge = 0;
    uint16_t vert = 0;
    uint16_t bleu = 0;
    bool operator==(const Couleur16&) const = default;
};

// The largest width or height a pixel map may have: bounds are signed 16-bit.
constexpr int kDimensionMax = 32767;

// Memory for pixels. Growing a vector of it leaves the new bytes as they are
// (a pixel map writes them itself: erased to white, copied or decoded), so a
// page is never written twice. Blocks as large as a page are taken in huge
// pages where the system offers them: each fresh page of memory costs a
// fault the first time it is written, and a 300 dpi page spans two thousand
// ordinary ones.
void* AlloueOctetsPixels(size_t taille);
void LibereOctetsPixels(void* octets, size_t taille) noexcept;

template <typename T>
struct AllocateurPixels {
    using value_type = T;
    AllocateurPixels() = default;
    template <typename U>
    AllocateurPixels(const AllocateurPixels<U>&) noexcept {}
    T* allocate(size_t n) { return static_cast<T*>(AlloueOctetsPixels(n * sizeof(T))); }
    void deallocate(T* p, size_t n) noexcept { LibereOctetsPixels(p, n * sizeof(T)); }
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... A>
    void construct(U* p, A&&... arguments) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(arguments)...);
    }
    template <typename U>
    bool operator==(const AllocateurPixels<U>&) const noexcept {
        return true;
    }
};
using OctetsPixels = std::vector<uint8_t, AllocateurPixels<uint8_t>>;

struct PixMap {
    int16_t largeur = 0;
    int16_t hauteur = 0;
    int32_t pasLigne = 0;  // row stride in bytes, at least the width
    int16_t profondeur = 8;
    OctetsPixels pixels;  // hauteur rows of pasLigne bytes, top row first

    Rect Bornes() const { return Rect{0, 0, hauteur, largeur}; }
    uint8_t* PremiereLigne() { return pixels.data(); }
    const uint8_t* PremiereLigne() const { return pixels.data(); }
};

// Eight pixels read as one word: a run of paper (index 0) is passed eight
// pixels at a time.
inline uint64_t HuitPixels(const uint8_t* pixels) {
    uint64_t mot;
    std::memcpy(&mot, pixels, sizeof mot);
    return mot;
}

// Row stride for a width: rows are padded to 4 bytes while the stride still
// fits the signed 16-bit field of the pushed-file header.
int PasLignePourLargeur(int largeur);

// Allocates a pixel map erased to white, or with its pixels left unwritten
// when `efface` is false (for a caller that writes every byte, padding
// included); nullptr when the size is out of range or memory is short. The
// caller deletes it.
PixMap* AlloueePixMap(int largeur, int hauteur, int profondeur, bool efface = true);

// A fingerprint of a map's size and of the visible pixels of its rows (the
// row padding is left out): two maps with the same fingerprint hold, all
// but certainly, the same image. Never 0.
uint64_t EmpreintePixMap(const PixMap& carte);

// Colour table lookups.
Couleur16 CouleurDIndex(uint8_t index);
uint8_t IndexDeCouleur(Couleur16 c);  // nearest colour, lowest index on ties
uint8_t IndexDeGris(uint8_t gris);    // 8-bit grey level to its nearest index
