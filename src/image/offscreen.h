// Offscreen bitmaps: the 8-bit indexed images every stage works on.
//
// An `Offscreen` is a pixel map owned by whoever created it and disposed with
// `DisposeOffscreen`. Every one made by `CreeOffscreen` is recorded in one
// list. Pixels are reached through the one pixel-access context
// `ContextePixels`, filled by `PrepareOffscreen`; a stage prepares its bitmap
// before touching pixels and prepares again after working on another one.
#pragma once

#include <cstdint>

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

struct ContexteAccesPixels {
    Rect bornes;
    int32_t pasLigne = 0;
    uint8_t* base = nullptr;
};
extern ContexteAccesPixels ContextePixels;

// Creation and disposal.
Offscreen CreeOffscreen(int largeur, int hauteur, int profondeur = 8);
void DisposeOffscreen(Offscreen& o);
Offscreen DupliqueOffscreen(Offscreen o);
Offscreen CloneOffscreen(Offscreen o);
Offscreen CreeIconeOffscreen(Offscreen o, int largeur, int hauteur);
int NombreOffscreensListes();

// Pixel access through ContextePixels.
uint8_t* PrepareOffscreen(Offscreen o);

inline uint8_t* LignePixels(uint8_t* base, int y) {
    return base + static_cast<intptr_t>(y) * ContextePixels.pasLigne;
}

inline uint8_t LitPixel(const uint8_t* base, int x, int y) {
    const Rect& b = ContextePixels.bornes;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return IndexBlanc;
    return base[static_cast<intptr_t>(y) * ContextePixels.pasLigne + x];
}

inline void EcritPixel(uint8_t* base, int x, int y, uint8_t index) {
    const Rect& b = ContextePixels.bornes;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return;
    base[static_cast<intptr_t>(y) * ContextePixels.pasLigne + x] = index;
}

inline bool EstNoir(const uint8_t* base, int x, int y) { return LitPixel(base, x, y) == IndexNoir; }

// 4-connected flood fill of the pixels equal to `ancien` from (x, y).
void RemplitComposante(uint8_t* base, int x, int y, uint8_t ancien, uint8_t nouveau);

// Vertical run of non-white pixels through (x, y): its length and top row.
struct Trait {
    int longueur = 0;
    int haut = 0;
};
Trait HauteurTrait(const uint8_t* base, int x, int y);

// Whole-image operations.
Offscreen Rotation90Droite(Offscreen o);
Offscreen Rotation90Gauche(Offscreen o);
bool Rotation180(Offscreen o);
void GrisEnNoir(Offscreen o);
void EchangeCouleurs(Offscreen o, uint8_t a, uint8_t b);
void InverseVideo(Offscreen o);
