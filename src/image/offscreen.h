// Offscreen bitmaps: the 8-bit indexed images every stage works on.
//
// An `Offscreen` is a pixel map owned by whoever created it and disposed with
// `DisposeOffscreen`, or held by an `OffscreenPossede`, which disposes it.
// Every one made by `CreeOffscreen` is counted in one list, guarded for use
// from several threads. Pixels are reached through a `VuePixels` taken from
// the offscreen (`VueOffscreen`) and handed to whatever reads or writes them;
// nothing about pixel access is held anywhere else, so two threads may work
// on two offscreens at once.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "toolbox/pixmap.h"
#include "toolbox/rect.h"

using Offscreen = PixMap*;

// Colour indices, looked up once at start (`InitialiseCouleurs`).
extern uint8_t IndexBlanc;
extern uint8_t IndexNoir;
extern uint8_t IndexRouge;
extern uint8_t IndexBleu;
extern uint8_t IndexVert;
extern uint8_t IndexGris;
extern uint8_t IndexJauneClair;
void InitialiseCouleurs();

// Where an offscreen's pixels are: its first row, its row stride and its
// bounds. A plain value, valid while the offscreen lives; none (a null base)
// for no offscreen.
struct VuePixels {
    uint8_t* base = nullptr;
    int32_t pasLigne = 0;
    Rect bornes;
};

// Creation and disposal.
Offscreen CreeOffscreen(int largeur, int hauteur, int profondeur = 8);
// The same, its pixels left unwritten: for a caller that writes every byte
// of every row, padding included.
Offscreen CreeOffscreenAEcrire(int largeur, int hauteur, int profondeur = 8);
void DisposeOffscreen(Offscreen& o);
Offscreen DupliqueOffscreen(Offscreen o);
Offscreen CloneOffscreen(Offscreen o);
Offscreen CreeIconeOffscreen(Offscreen o, int largeur, int hauteur);
int NombreOffscreensListes();

// Owns one offscreen and disposes it when it goes.
struct LiberateurOffscreen {
    void operator()(PixMap* o) const { DisposeOffscreen(o); }
};
using OffscreenPossede = std::unique_ptr<PixMap, LiberateurOffscreen>;

// Pixel access through a view of the offscreen.
VuePixels VueOffscreen(Offscreen o);

inline uint8_t* LignePixels(const VuePixels& v, int y) {
    return v.base + static_cast<intptr_t>(y) * v.pasLigne;
}

// Outside the bounds a pixel reads white and is not written.
inline uint8_t LitPixel(const VuePixels& v, int x, int y) {
    const Rect& b = v.bornes;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return IndexBlanc;
    return v.base[static_cast<intptr_t>(y) * v.pasLigne + x];
}

inline void EcritPixel(const VuePixels& v, int x, int y, uint8_t index) {
    const Rect& b = v.bornes;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return;
    v.base[static_cast<intptr_t>(y) * v.pasLigne + x] = index;
}

inline bool EstNoir(const VuePixels& v, int x, int y) {
    return LitPixel(v, x, y) == IndexNoir;
}

// The first column from x on, before `largeur`, of a row holding `index`;
// `largeur` when none. Most of a page is white between the strokes, and
// memchr passes over it many bytes at a time.
inline int ProchainIndex(const uint8_t* ligne, int x, int largeur, uint8_t index) {
    if (x >= largeur) return largeur;
    const void* trouve = std::memchr(ligne + x, index, static_cast<size_t>(largeur - x));
    return trouve ? static_cast<int>(static_cast<const uint8_t*>(trouve) - ligne) : largeur;
}

// 4-connected flood fill of the pixels equal to `ancien` from (x, y).
void RemplitComposante(const VuePixels& v, int x, int y, uint8_t ancien, uint8_t nouveau);

// Vertical run of non-white pixels through (x, y): its length and top row.
struct Trait {
    int longueur = 0;
    int haut = 0;
};
Trait HauteurTrait(const VuePixels& v, int x, int y);

// Whole-image operations.
Offscreen Rotation90Droite(Offscreen o);
Offscreen Rotation90Gauche(Offscreen o);
bool Rotation180(Offscreen o);
void GrisEnNoir(Offscreen o);
void EchangeCouleurs(Offscreen o, uint8_t a, uint8_t b);
void InverseVideo(Offscreen o);
