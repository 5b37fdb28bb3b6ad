// Drawn staff bands for the per-staff stages: a band bitmap, the staff
// record that describes it, and the page state the stages read.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "image/offscreen.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/page_state.h"

namespace essai {

// Page row of the band's top: the staff record is in page coordinates.
constexpr int kHautBande = 300;

inline void Pave(Offscreen o, int x0, int y0, int x1, int y1, uint8_t index = IndexNoir) {
    const VuePixels base = VueOffscreen(o);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, index);
}

// A filled note head centred on (cx, cy), 1.3 interlines wide, one high.
inline void Tete(Offscreen o, int cx, int cy, int s) {
    const VuePixels base = VueOffscreen(o);
    const int rx = s * 65 / 100, ry = s / 2;
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x)
            if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry)
                EcritPixel(base, cx + x, cy + y, IndexNoir);
}

// A horizontal line centred on row y, `epaisseur` rows thick.
inline void Ligne(Offscreen o, int y, int epaisseur, int x0, int x1) {
    Pave(o, x0, y - epaisseur / 2, x1, y - epaisseur / 2 + epaisseur);
}

// Five staff lines from row `haut`, columns x0 .. x1 - 1.
inline void Lignes(Offscreen o, int haut, int s, int epaisseur, int x0, int x1) {
    for (int l = 0; l < 5; ++l) Ligne(o, haut + l * s, epaisseur, x0, x1);
}

inline uint8_t Pixel(Offscreen o, int x, int y) {
    return LitPixel(VueOffscreen(o), x, y);
}
inline bool Noir(Offscreen o, int x, int y) {
    return Pixel(o, x, y) == IndexNoir;
}

inline int CompteNoirs(Offscreen o, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += Noir(o, x, y);
    return n;
}

// A staff record for a band of `largeur` x `hauteur` whose top line is at
// band row `hautLigne`, straight, with interline s.
inline Portee PorteeDroite(int largeur, int hauteur, int hautLigne, float s) {
    Portee p;
    p.CadreBande = Rect{static_cast<int16_t>(kHautBande), 0,
                        static_cast<int16_t>(kHautBande + hauteur), static_cast<int16_t>(largeur)};
    p.CadreBandeRef = p.CadreBande;
    p.CadreLignes =
        Rect{static_cast<int16_t>(kHautBande + hautLigne), 0,
             static_cast<int16_t>(kHautBande + hautLigne + 5 * s), static_cast<int16_t>(largeur)};
    p.NbLignesPortee = 5;
    p.Interligne = s;
    p.LargeurSection = static_cast<int16_t>(5 * s);
    const float y = static_cast<float>(kHautBande + hautLigne);
    p.Echantillons = {EchantillonLignes{1, 0.0f, y, s},
                      EchantillonLignes{1, static_cast<float>(largeur), y, s}};
    return p;
}

// Clears the page state and the tuning parameters around each test, and
// disposes the bitmaps the test made.
class BandeEssai : public ::testing::Test {
  protected:
    void SetUp() override {
        LibereEtatPage(etat);
        RegleParametresParDefaut();
    }
    void TearDown() override {
        etat.PorteeImage = nullptr;
        for (Offscreen& o : bitmaps_)
            if (o) DisposeOffscreen(o);
        LibereEtatPage(etat);
        RegleParametresParDefaut();
    }

    Offscreen NouvelleBande(int largeur, int hauteur) {
        bitmaps_.push_back(CreeOffscreen(largeur, hauteur));
        return bitmaps_.back();
    }
    Offscreen Copie(Offscreen o) {
        bitmaps_.push_back(DupliqueOffscreen(o));
        return bitmaps_.back();
    }

    // Makes `bande` the current staff's band, described by `portee`.
    void Installe(Offscreen bande, const Portee& portee, float epaisseurLigne = 3.0f) {
        etat.Portees = {portee};
        etat.PorteeCourante = 0;
        etat.PorteeImage = bande;
        etat.EpaisseurLigne = epaisseurLigne;
    }

    Portee& Courante() { return etat.Portees[0]; }

    EtatPage etat;

  private:
    std::vector<Offscreen> bitmaps_;
};

}  // namespace essai
