#include "app/inspect_ties.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "image/offscreen.h"
#include "symbols/catalogue.h"
#include "toolbox/music_glyphs.h"

namespace {

void Marque(PixMap& carte, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= carte.largeur || y >= carte.hauteur) return;
    carte.pixels[static_cast<size_t>(y) * carte.pasLigne + x] = index;
}

void Croix(PixMap& carte, int x, int y, uint8_t index) {
    for (int d = -3; d <= 3; ++d) {
        Marque(carte, x + d, y, index);
        Marque(carte, x, y + d, index);
    }
}

// n in the font's digits, its left end at (x, baseline y).
void Nombre(PixMap& carte, int n, int taille, int x, int y, uint8_t index) {
    for (char c : std::to_string(n)) {
        const uint16_t code = static_cast<uint16_t>(kCarChiffre0 + (c - '0'));
        DessineCaractere(carte, code, taille, y, x, index);
        x += LargeurGlyphe(code, taille);
    }
}

}  // namespace

void EcritLiaisonsTexte(const PorteeInspectee& p) {
    std::printf("  %zu ties\n", p.liaisons.size());
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        std::printf("  tie %zu %s: from row %d col %d to row %d col %d\n", i + 1,
                    l.AuDessus ? "above" : "below", l.PosYDebut, l.PosXDebut, l.PosYFin, l.PosXFin);
    }
}

void EcritLiaisonsJSON(const PorteeInspectee& p) {
    std::printf(", \"ties\": [");
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        std::printf("%s{\"above\": %s, \"start\": [%d, %d], \"end\": [%d, %d]}", i ? ", " : "",
                    l.AuDessus ? "true" : "false", l.PosYDebut, l.PosXDebut, l.PosYFin, l.PosXFin);
    }
    std::printf("]");
}

void DessineLiaisons(PixMap& carte, const PorteeInspectee& p, int dy) {
    const uint8_t couleur = IndexDeCouleur({65535, 0, 39321});
    if (const PixMap* effaces = p.liaisonsEffacees) {
        for (int y = 0; y < effaces->hauteur; ++y)
            for (int x = 0; x < effaces->largeur; ++x)
                if (effaces->pixels[static_cast<size_t>(y) * effaces->pasLigne + x] == IndexNoir)
                    Marque(carte, x, dy + y, couleur);
    }
    const int taille = std::max(8, static_cast<int>(p.interligne * 2));
    const int marge = static_cast<int>(p.interligne);
    for (size_t i = 0; i < p.liaisons.size(); ++i) {
        const Liaison& l = p.liaisons[i];
        Croix(carte, l.PosXDebut, dy + l.PosYDebut, couleur);
        Croix(carte, l.PosXFin, dy + l.PosYFin, couleur);
        Nombre(carte, static_cast<int>(i + 1), taille, l.PosXDebut - marge, dy + l.PosYDebut, couleur);
    }
}
