#include "staff/staff_geometry.h"

#include <gtest/gtest.h>

#include "pages_de_test.h"

using namespace pages_de_test;

namespace {

EchantillonLignes Echantillon(float x, float y, float interligne) {
    EchantillonLignes e;
    e.X = x;
    e.Y = y;
    e.InterligneLocal = interligne;
    e.Chaine = 1;
    return e;
}

Portee PorteeHumps(int debut, int fin, float interligne) {
    Portee p;
    p.DebutProfil = static_cast<int16_t>(debut);
    p.FinProfil = static_cast<int16_t>(fin);
    p.Interligne = interligne;
    p.NbLignesPortee = 5;
    p.CadreLignes = Rect{static_cast<int16_t>(debut), 10, static_cast<int16_t>(fin), 700};
    return p;
}

class GeometrieTest : public TestPortees {};

TEST_F(GeometrieTest, QueriesFollowTheSamplesAndExtrapolateAtTheEnds) {
    Portee p;
    p.Interligne = 10.5f;
    p.Echantillons = {Echantillon(25, 100, 10), Echantillon(75, 102, 10.5f),
                      Echantillon(125, 106, 11)};
    etat.Portees.push_back(p);
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 50), 101.0f);
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 75), 102.0f);
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 0), 99.0f);     // from the first pair
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 200), 112.0f);  // from the last pair
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 100), 10.75f);
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 0), 9.75f);

    // Band coordinates: rows from the band's top.
    etat.Portees[0].CadreBandeRef = Rect{40, 0, 300, 200};
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 50), 61.0f);
}

TEST_F(GeometrieTest, QueriesWithFewSamples) {
    Portee p;
    p.Interligne = 12.0f;
    p.CadreBandeRef = Rect{30, 0, 300, 200};
    etat.Portees.push_back(p);
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 10), 0.0f);
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 10), 12.0f);
    etat.Portees[0].Echantillons = {Echantillon(25, 100, 9)};
    EXPECT_FLOAT_EQ(LigneHautEn(etat, 0, 500), 70.0f);
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 500), 12.0f);
    // Unmeasured samples: the interline is held at 1.0.
    etat.Portees[0].Echantillons = {Echantillon(25, -1, 0), Echantillon(75, -1, 0)};
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 50), 1.0f);
    etat.Portees[0].Interligne = 0.2f;
    etat.Portees[0].Echantillons.clear();
    EXPECT_FLOAT_EQ(InterligneEn(etat, 0, 50), 1.0f);
}

TEST_F(GeometrieTest, BandsStopShortOfTheNeighbours) {
    etat.CadrePage = Rect{0, 0, 1000, 800};
    etat.Portees = {PorteeHumps(100, 150, 10), PorteeHumps(200, 250, 10), PorteeHumps(700, 750, 10),
                    PorteeHumps(950, 990, 10)};
    etat.Portees[1].CadreLignes.top = 280;
    CalculeBandesPortees(etat);
    // The hump runs from the top line to an interline below the bottom
    // line: seven interlines above it and six below reach as far on both
    // sides of the staff (a head on the sixth ledger line above stays whole),
    // stopping one interline short of the next hump.
    EXPECT_EQ(etat.Portees[0].CadreBande, (Rect{30, 0, 190, 800}));
    // One interline below the previous hump; reaching down to five
    // interlines below the first line.
    EXPECT_EQ(etat.Portees[1].CadreBande, (Rect{160, 0, 330, 800}));
    EXPECT_EQ(etat.Portees[2].CadreBande, (Rect{630, 0, 810, 800}));
    EXPECT_EQ(etat.Portees[2].CadreBandeRef, etat.Portees[2].CadreBande);
    EXPECT_EQ(etat.Portees[3].CadreBande, (Rect{880, 0, 1000, 800}));  // the page's end
    // The line frame of the last band computed, in its coordinates.
    EXPECT_EQ(etat.CadreLignesPortee, (Rect{70, 0, 110, 800}));
}

TEST_F(GeometrieTest, CrowdedHumpsStillGetTheirOwnRows) {
    etat.CadrePage = Rect{0, 0, 1000, 800};
    etat.Portees = {PorteeHumps(100, 150, 10), PorteeHumps(152, 163, 10),
                    PorteeHumps(165, 200, 10)};
    const Rect bande = CalculeBandePortee(etat, 1);
    EXPECT_FALSE(bande.EstVide());
    EXPECT_LE(bande.top, 152);
    EXPECT_GE(bande.bottom, 163);
}

TEST_F(GeometrieTest, TrimmingKeepsTheLinesAndDropsWhatStandsBeside) {
    Offscreen page = CreeOffscreen(1000, 300);
    DessinePortee(page, 300, 701, 100, 10, 1);
    // An instrument name's strokes: two of the five line rows, then a short
    // stub of lines; a gap of ten columns on the right.
    Noircit(page, 150, 100, 250, 101);
    Noircit(page, 150, 120, 250, 121);
    DessinePortee(page, 270, 280, 100, 10, 1);
    DessinePortee(page, 711, 716, 100, 10, 1);
    Portee p;
    p.NbLignesPortee = 5;
    p.Interligne = 10;
    for (int x = 25; x < 1000; x += 50) p.Echantillons.push_back(Echantillon(x, 100, 10));
    p.CadreLignes = Rect{100, 150, 150, 900};
    etat.Portees.push_back(p);
    RogneLignes(etat, *page);
    DisposeOffscreen(page);
    EXPECT_EQ(etat.Portees[0].CadreLignes.left, 300);
    EXPECT_EQ(etat.Portees[0].CadreLignes.right, 700);
}

}  // namespace
