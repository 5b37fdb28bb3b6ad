// A synthetic staff band for the symbol tests: one staff in the page state
// with a constant interline and top line, and a white band bitmap to draw on.
#pragma once

#include <cmath>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "staff/page_state.h"

// The page state's only staff: a band of `largeur` x `hauteur` at the page's
// top whose straight lines start at row `haut`.
inline void InstallePortee(EtatPage& etat, int largeur, int hauteur, float interligne, int haut) {
    Portee p;
    p.CadreBande = Rect{0, 0, static_cast<int16_t>(hauteur), static_cast<int16_t>(largeur)};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes = Rect{static_cast<int16_t>(haut), 0, static_cast<int16_t>(haut + 4 * interligne),
                         static_cast<int16_t>(largeur)};
    p.NbLignesPortee = 5;
    p.Interligne = interligne;
    p.LargeurSection = static_cast<int16_t>(5 * interligne);
    // The staff-geometry queries read the line samples.
    for (int x : {0, largeur})
        p.Echantillons.push_back(
            EchantillonLignes{1, static_cast<float>(x), static_cast<float>(haut), interligne});
    etat.Portees.push_back(p);
    etat.PorteeCourante = 0;
    etat.InterligneMoyenne = interligne;
}

struct BandeTest {
    EtatPage etat;
    float s = 20;
    int ligneHaut = 40;  // band row of the top staff line

    BandeTest(int largeur, int hauteur, float interligne = 20, int haut = 40)
        : s(interligne), ligneHaut(haut) {
        InitialiseCouleurs();
        LibereEtatPage(etat);
        InstallePortee(etat, largeur, hauteur, interligne, haut);
        etat.PorteeImage = CreeOffscreen(largeur, hauteur);
    }
    ~BandeTest() { LibereEtatPage(etat); }

    void Pixel(int x, int y) { EcritPixel(VueOffscreen(etat.PorteeImage), x, y, IndexNoir); }
    void Rectangle(int gauche, int haut, int droite, int bas) {  // inclusive
        for (int y = haut; y <= bas; ++y)
            for (int x = gauche; x <= droite; ++x) Pixel(x, y);
    }
    // A filled ellipse, tilted like a note head.
    void Tete(int cx, int cy, float rx, float ry, float angle = -0.35f) {
        const float c = std::cos(angle), sn = std::sin(angle);
        const int r = static_cast<int>(std::max(rx, ry)) + 1;
        for (int y = cy - r; y <= cy + r; ++y) {
            for (int x = cx - r; x <= cx + r; ++x) {
                const float dx = x - cx, dy = y - cy;
                const float u = dx * c + dy * sn, v = -dx * sn + dy * c;
                if ((u * u) / (rx * rx) + (v * v) / (ry * ry) <= 1.0f) Pixel(x, y);
            }
        }
    }
};
