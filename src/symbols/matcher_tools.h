// Tools shared by the symbol matchers: size gates, merging of the components
// that meet a rectangle, the largest blob and longest stroke, fill ratio and
// the counts of stroke and bar ends near the component's edges.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "records/etat_page.h"
#include "symbols/graphe.h"
#include "toolbox/rect.h"

// Run extents. The contour conventions use centre -/+ length / 2; the pixel
// extent (which pixels the run really covers) is recovered exactly from the
// centre, which is (first + last) / 2 rounded down.
inline int DebutPlage(const Plage& p) {
    return p.Centre - p.Longueur / 2;
}
inline int FinPlage(const Plage& p) {
    return p.Centre + p.Longueur / 2;
}
inline int PremierPixel(const Plage& p) {
    return p.Centre - (p.Longueur - 1) / 2;
}
inline int DernierPixel(const Plage& p) {
    return PremierPixel(p) + p.Longueur - 1;
}

// The stretches of consecutive entries of `valeurs` above `seuil`, as
// their first and last index, left to right.
std::vector<std::pair<int, int>> TronconsAuDessus(const std::vector<int>& valeurs, int seuil);

// True when a run of row r (from the component's top) covers band column x.
bool EncreEn(const Graphe& g, int x, int r);

// A computed length or coordinate as a band coordinate: truncated toward
// zero and held within the signed 16-bit range.
inline int16_t Tronque16(double v) {
    if (!(v > -32768.0)) return -32768;
    if (v > 32767.0) return 32767;
    return static_cast<int16_t>(v);
}

// The largest interline the matchers judge: no symbol of a staff band (at
// most 32767 rows) is that large, and the pixel arithmetic stays in range.
constexpr float kInterligneMax = 2000.0f;
inline bool InterligneValide(float s) {
    return s > 0 && s <= kInterligneMax;
}

// Row of the current staff's top line at band column x.
float LigneHaut(EtatPage& etat, int x);

// Four-character tag of a merged component.
constexpr uint32_t Etiquette(char a, char b, char c, char d) {
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) |
           (uint32_t(uint8_t(c)) << 8) | uint32_t(uint8_t(d));
}

// Strict size gate on rows (NbLignes) and width.
bool VerifieTaille(const Graphe& g, float largeurMin, float largeurMax, float hauteurMin,
                   float hauteurMax);
bool VerifieTaille(const Rect& cadre, float largeurMin, float largeurMax, float hauteurMin,
                   float hauteurMax);

// A temporary component made of every component of the table whose Cadre
// meets the rectangle; with `ferme` each of them is closed. Empty (NbLignes 0,
// empty Cadre) when none meets it.
Graphe FusionneGraphes(EtatPage& etat, const Rect& rect, bool ferme, uint32_t etiquette);

// Like FusionneGraphes without closing, but a component wider than
// `largeurMax` is merged only when it has ink in the rectangle: a long thin
// stroke (a hairpin drawn through the bar lines) has its box over whole
// bars, and is no piece of a small glyph it merely covers.
Graphe FusionneGraphesCouverts(EtatPage& etat, const Rect& rect, int largeurMax,
                               uint32_t etiquette);

// The Cadre FusionneGraphes would give for the same rectangle (closing the
// components the same way), without copying any run: most candidates fail a
// matcher's size gate, so the matchers test the box before merging.
Rect CadreFusion(EtatPage& etat, const Rect& rect, bool ferme);

// Like FusionneGraphes with closing, but only the components meeting the
// rectangle that stand above or below the columns of `depart`, or of those
// already taken: the pieces of one glyph, not its neighbours side by side.
Graphe FusionneColonne(EtatPage& etat, const Graphe& depart, const Rect& rect, uint32_t etiquette);

// When `fusion` was merged from `g` alone and g's blobs were read already,
// gives them to `fusion`, all available again: reading them anew would
// find the same ones, as they depend only on the runs and the staff.
void ReprendTachesDuSeulMembre(const Graphe& g, Graphe& fusion);

// The union of two components (the merged one keeps a's tag).
Graphe FusionneDeux(const Graphe& a, const Graphe& b);

bool GrapheVide(const Graphe& g);

// The available blob of largest size (first on ties); nullptr when none.
TacheRonde* PlusGrandeTache(EtatPage& etat, Graphe& g);
// The available vertical stroke of greatest height (first on ties).
TraitVertical* PlusLongTrait(EtatPage& etat, Graphe& g);
inline int HauteurTrait(const TraitVertical& t) {
    return t.YBas - t.YHaut;
}

// Black pixels per 100 pixels of the box (bottom - top) x width.
float TauxRemplissage(const Graphe& g);

struct Extremites {
    int barresGauche = 0;  // thick bars with an end near the left edge
    int barresDroite = 0;  // ... near the right edge
    int traitsHaut = 0;    // vertical strokes reaching the top
    int traitsBas = 0;     // vertical strokes reaching the bottom
};
Extremites CompteExtremites(EtatPage& etat, Graphe& g, float s);

// Centre of a component ((top + bottom) / 2, (left + right) / 2).
Point CentreGraphe(const Graphe& g);

// Index of a component of the table, -1 for a merged one.
int IndexGraphe(EtatPage& etat, const Graphe& g);
