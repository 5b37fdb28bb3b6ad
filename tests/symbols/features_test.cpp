// Feature builders on synthetic components of a staff with interline 20
// whose top line is band row 40.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "band_fixture.h"
#include "symbols/graphe.h"

namespace {

Graphe SeuleComposante(EtatPage& etat) {
    EXPECT_TRUE(ConstruitTableGraphes(etat));
    EXPECT_EQ(etat.Graphes.size(), 1u);
    if (etat.Graphes.empty()) return Graphe{};
    return etat.Graphes[0];
}

TEST(Features, OneBlobPerBlackHead) {
    BandeTest b(200, 160);
    EtatPage& etat = b.etat;
    b.Tete(100, 70, 13, 9);  // on the second line
    Graphe g = SeuleComposante(etat);
    ASSERT_EQ(CalculeTaches(etat, g), 1);
    const TacheRonde& t = g.Taches[0];
    EXPECT_NEAR(t.X, 100, 3);
    EXPECT_NEAR(g.Cadre.top + t.Y, 70, 3);
    EXPECT_GE(t.Taille, 12);
    EXPECT_EQ(t.Disponible, 1);
    EXPECT_EQ(t.Cent, 100);
    // Built once: a second call gives the same list.
    g.Taches[0].Disponible = 0;
    EXPECT_EQ(CalculeTaches(etat, g), 1);
    EXPECT_EQ(g.Taches[0].Disponible, 0);
}

TEST(Features, TwoTouchingHeadsGiveTwoBlobs) {
    BandeTest b(200, 160);
    EtatPage& etat = b.etat;
    // A second: the heads sit on neighbouring positions, side by side.
    b.Tete(90, 70, 13, 9);
    b.Tete(113, 60, 13, 9);
    Graphe g = SeuleComposante(etat);
    ASSERT_EQ(CalculeTaches(etat, g), 2);
    const int x0 = std::min(g.Taches[0].X, g.Taches[1].X);
    const int x1 = std::max(g.Taches[0].X, g.Taches[1].X);
    EXPECT_NEAR(x0, 90, 4);
    EXPECT_NEAR(x1, 113, 4);
}

TEST(Features, ChordHeadsKeepTheirOwnCentres) {
    // Above the staff every row may hold a blob. Two heads a third apart on
    // one stem, with their ledger lines: each head's centre must come from
    // its own rows, not be drawn toward the middle of the chord.
    BandeTest b(200, 260, 20, 200);
    EtatPage& etat = b.etat;
    for (int y : {40, 80}) b.Tete(100, y, 13, 10);
    for (int y : {50, 70}) b.Rectangle(80, y, 120, y + 3);
    b.Rectangle(87, 40, 88, 150);
    Graphe g = SeuleComposante(etat);
    ASSERT_GE(CalculeTaches(etat, g), 2);
    std::vector<int> rangs;
    for (const TacheRonde& t : g.Taches) {
        if (t.Taille > 12) rangs.push_back(g.Cadre.top + t.Y);
    }
    ASSERT_EQ(rangs.size(), 2u);
    std::sort(rangs.begin(), rangs.end());
    EXPECT_NEAR(rangs[0], 40, 2);
    EXPECT_NEAR(rangs[1], 80, 2);
}

TEST(Features, StemIsOneVerticalStroke) {
    BandeTest b(200, 160);
    EtatPage& etat = b.etat;
    b.Rectangle(100, 20, 102, 100);
    Graphe g = SeuleComposante(etat);
    ASSERT_EQ(CalculeTraitsVerticaux(etat, g), 1);
    const TraitVertical& t = g.TraitsVerticaux[0];
    EXPECT_EQ(t.XHaut, 101);
    EXPECT_EQ(t.YHaut, 0);
    EXPECT_EQ(t.XBas, 101);
    EXPECT_EQ(t.YBas, g.NbLignes - 1);
    EXPECT_EQ(t.Epaisseur, 3);
}

// Strokes cut into pieces are merged back into one: by a thick knot where
// the chain stops, and, on a blurred scan, by the two bars of a sharp whose
// middle piece leans two pixels, its own slope pointing five pixels away
// from the top piece, though the three lie on one line.
TEST(Features, StrokesCutIntoPiecesAreMergedBack) {
    const std::vector<std::function<void(BandeTest&)>> dessins = {
        [](BandeTest& b) {
            b.Rectangle(100, 20, 101, 100);
            b.Rectangle(96, 50, 106, 52);
        },
        [](BandeTest& b) {
            b.Rectangle(100, 20, 102, 31);
            b.Rectangle(95, 32, 107, 41);  // upper bar
            for (int y = 42; y <= 52; ++y) {
                const int x = 100 + (y - 42) / 5;
                b.Rectangle(x, y, x + 2, y);
            }
            b.Rectangle(95, 53, 107, 62);  // lower bar
            b.Rectangle(101, 63, 103, 75);
        },
    };
    for (size_t i = 0; i < dessins.size(); ++i) {
        SCOPED_TRACE(i);
        BandeTest b(200, 160);
        dessins[i](b);
        Graphe g = SeuleComposante(b.etat);
        ASSERT_EQ(CalculeTraitsVerticaux(b.etat, g), 1);
        EXPECT_EQ(g.TraitsVerticaux[0].YHaut, 0);
        EXPECT_EQ(g.TraitsVerticaux[0].YBas, g.NbLignes - 1);
    }
}

TEST(Features, StableSectionsOfTwoSlantedStrokes) {
    BandeTest b(200, 160);
    EtatPage& etat = b.etat;
    // Two strokes joined at the top by a bar; the right one leans right.
    b.Rectangle(100, 20, 130, 23);
    for (int y = 24; y <= 60; ++y) {
        b.Rectangle(100, y, 102, y);
        const int x = 128 + (y - 24) / 4;
        b.Rectangle(x, y, x + 2, y);
    }
    Graphe g = SeuleComposante(etat);
    ASSERT_EQ(CalculeSectionsStables(g), 3);  // the bar rows, then one per stroke
    const SectionStable& gauche = g.SectionsStables[1];
    const SectionStable& droite = g.SectionsStables[2];
    EXPECT_EQ(gauche.XDebut, 101);
    EXPECT_EQ(gauche.XFin, 101);
    EXPECT_EQ(gauche.EcartDroite, 0);
    EXPECT_EQ(gauche.Epaisseur, 3);
    EXPECT_EQ(droite.XDebut, 129);
    EXPECT_EQ(droite.XFin, 129 + (59 - 24) / 4);
    EXPECT_LE(droite.EcartDroite, 1);
    EXPECT_LE(droite.EcartGauche, 1);
    EXPECT_EQ(droite.YDebut, 4);
    EXPECT_EQ(droite.YFin, g.NbLignes - 1);
}

TEST(Features, ThickBarEndsFollowItsSlope) {
    BandeTest b(200, 160);
    EtatPage& etat = b.etat;
    // A bar rising to the right: each row starts one column further right.
    for (int r = 0; r < 6; ++r) b.Rectangle(100 + 2 * r, 60 - r, 130 + 2 * r, 60 - r);
    Graphe g = SeuleComposante(etat);
    ASSERT_EQ(CalculeBarresEpaisses(g), 1);
    const BarreEpaisse& barre = g.BarresEpaisses[0];
    // First row (top) is the rightmost: from its right end to the last row's left.
    EXPECT_EQ(barre.X1, 140);
    EXPECT_EQ(barre.Y1, 0);
    EXPECT_EQ(barre.X2, 102);
    EXPECT_EQ(barre.Y2, 4);  // the component's last row is not in its runs
    EXPECT_EQ(barre.Hauteur, 5);
}

// The bar builder reads no page state; the table takes it for the others.
int16_t BarresEpaisses(EtatPage&, Graphe& g) {
    return CalculeBarresEpaisses(g);
}

TEST(Features, ShapesThatAreNoFeature) {
    struct Cas {
        Rect forme;
        int16_t (*calcule)(EtatPage&, Graphe&);
    };
    const Cas cas[] = {
        {{20, 100, 100, 102}, CalculeTaches},           // a stem is no blob
        {{20, 100, 100, 110}, CalculeTraitsVerticaux},  // 11 wide: not thin at s = 20
        {{40, 100, 52, 130}, BarresEpaisses},           // 12 rows of runs: too tall for a bar
        {{40, 100, 44, 105}, BarresEpaisses},           // 6 wide: too narrow
    };
    for (const Cas& c : cas) {
        BandeTest b(200, 160);
        b.Rectangle(c.forme.left, c.forme.top, c.forme.right, c.forme.bottom);
        Graphe g = SeuleComposante(b.etat);
        EXPECT_EQ(c.calcule(b.etat, g), 0) << c.forme.right;
    }
}

}  // namespace
