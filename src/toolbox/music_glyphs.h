// The music font as a font whose character codes are the glyph codes of the
// symbol catalogue: drawing a code's glyph into an indexed pixel map and
// measuring its width, at a size given in pixels per em.
//
// The font file is the one `CheminFontMusique` finds; it is opened on first
// use. Codes the font has no glyph for (the triple and quadruple flag, the
// bar signs and the measure-repeat sign) draw nothing and are 0 wide.
#pragma once

#include <cstdint>

#include "toolbox/pixmap.h"
#include "toolbox/rect.h"

// The font's glyph name for a code; nullptr when the code has none.
const char* NomGlypheCaractere(uint16_t code);

// True when the font could be opened.
bool FontMusiqueDisponible();

// Draws the glyph of `code` at `taille` pixels per em with the pen at
// (row `y`, column `x`) on the baseline: every pixel at least half covered
// gets `index`; what falls outside the map is clipped. False when the font
// or the glyph is missing or the size is out of range (nothing is drawn).
bool DessineCaractere(PixMap& carte, uint16_t code, int taille, int y, int x, uint8_t index);

// The first and last rows, relative to the pen, that DessineCaractere
// would ink within `cadre` (relative to the pen, bottom and right
// exclusive); false when it would ink none there or cannot draw.
bool LignesEncreCaractere(uint16_t code, int taille, const Rect& cadre, int& haut, int& bas);

// The height in pixels of the glyph's outline at `taille`, fitted to the
// pixel grid as DessineCaractere fits it but not drawn (a tenth of the cost);
// false as for DessineCaractere.
bool HauteurContourCaractere(uint16_t code, int taille, float& hauteur);

// Ink box of the glyph relative to the pen (bottom and right exclusive);
// false as for DessineCaractere.
bool BoiteCaractere(uint16_t code, int taille, Rect& boite);

// Horizontal advance of the glyph in pixels; 0 when it cannot be drawn.
int LargeurGlyphe(uint16_t code, int taille);

// Sizes the font is drawn at.
constexpr int kTailleFontMin = 1;
constexpr int kTailleFontMax = 2000;

// Closes the font (end of the process, tests).
void FermeFontMusique();
