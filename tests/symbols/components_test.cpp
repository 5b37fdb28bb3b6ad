#include "symbols/components.h"

#include <gtest/gtest.h>

#include "band_fixture.h"
#include "symbols/graphe.h"

namespace {

std::vector<Graphe> Composantes(EtatPage& etat, BilanExtraction* bilan = nullptr) {
    Offscreen copie = DupliqueOffscreen(etat.PorteeImage);
    std::vector<Graphe> g = ExtraitGraphes(copie, 0, bilan);
    DisposeOffscreen(copie);
    return g;
}

TEST(Components, BoundsRunsAndTheMissingLastRow) {
    BandeTest b(100, 60);
    EtatPage& etat = b.etat;
    b.Rectangle(10, 5, 19, 5);    // a hair one row high: no component
    b.Rectangle(30, 10, 33, 11);  // two rows: one row of runs
    b.Rectangle(50, 20, 54, 29);  // a block
    b.Rectangle(58, 20, 60, 29);  // a second run in the block's rows
    b.Pixel(55, 30);              // joined diagonally to the block
    b.Pixel(56, 30);
    b.Pixel(57, 30);
    const auto g = Composantes(etat);
    ASSERT_EQ(g.size(), 2u);

    EXPECT_EQ(g[0].Cadre, (Rect{10, 30, 11, 34}));
    EXPECT_EQ(g[0].NbLignes, 1);
    EXPECT_EQ(g[0].NbPixels, 8);
    ASSERT_EQ(g[0].Lignes.size(), 1u);
    ASSERT_EQ(g[0].Lignes[0].size(), 1u);
    EXPECT_EQ(g[0].Lignes[0][0].Centre, 31);
    EXPECT_EQ(g[0].Lignes[0][0].Longueur, 4);

    const Graphe& bloc = g[1];
    EXPECT_EQ(bloc.Cadre, (Rect{20, 50, 30, 61}));
    EXPECT_EQ(bloc.NbLignes, 10);
    EXPECT_EQ(bloc.NbPixels, 50 + 30 + 3);
    ASSERT_EQ(bloc.Lignes[0].size(), 2u);
    EXPECT_EQ(bloc.Lignes[0][0].Centre, 52);
    EXPECT_EQ(bloc.Lignes[0][1].Centre, 59);
    EXPECT_EQ(bloc.Lignes[0][1].Longueur, 3);
    EXPECT_EQ(bloc.NbTaches, -1);
    EXPECT_EQ(bloc.NbBarresEpaisses, -1);
}

// The last row of a component is not in its runs, but it must not be left
// in the work copy where a later component's box would pick it up.
TEST(Components, LastRowOfAnEarlierComponentIsNotInALaterOne) {
    BandeTest b(60, 30);
    EtatPage& etat = b.etat;
    b.Rectangle(5, 0, 5, 9);     // first component: a stroke ...
    b.Rectangle(5, 9, 20, 9);    // ... whose last row reaches right
    b.Rectangle(15, 2, 25, 2);   // second component: an arm ...
    b.Rectangle(25, 2, 25, 12);  // ... and a stroke down past row 9
    const auto g = Composantes(etat);
    ASSERT_EQ(g.size(), 2u);
    const Graphe& second = g[1];
    EXPECT_EQ(second.Cadre, (Rect{2, 15, 12, 26}));
    ASSERT_EQ(second.Lignes[9 - 2].size(), 1u);
    EXPECT_EQ(second.Lignes[9 - 2][0].Centre, 25);
}

TEST(Components, ScanStartsAtTheFirstColumnAndOrdersByColumn) {
    BandeTest b(60, 30);
    EtatPage& etat = b.etat;
    b.Rectangle(40, 2, 42, 6);
    b.Rectangle(10, 20, 12, 25);
    b.Rectangle(11, 2, 13, 6);
    const auto g = Composantes(etat);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].Cadre.top, 20);  // column 10 first
    EXPECT_EQ(g[1].Cadre.left, 11);
    EXPECT_EQ(g[2].Cadre.left, 40);
}

TEST(Components, MarksOtherThanBlackAreNotInk) {
    BandeTest b(40, 20);
    EtatPage& etat = b.etat;
    b.Rectangle(5, 5, 10, 10);
    const VuePixels base = VueOffscreen(etat.PorteeImage);
    for (int x = 11; x < 20; ++x) EcritPixel(base, x, 7, IndexRouge);
    EcritPixel(base, 30, 5, IndexGris);  // the marker colour already in the band
    EcritPixel(base, 30, 6, IndexGris);
    const auto g = Composantes(etat);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].Cadre.right, 11);
}

TEST(Components, TableFromTheBandAndItsRelease) {
    BandeTest b(40, 20);
    EtatPage& etat = b.etat;
    b.Rectangle(5, 5, 10, 10);
    ASSERT_TRUE(ConstruitTableGraphes(etat));
    EXPECT_EQ(etat.Graphes.size(), 1u);
    // The band itself is untouched.
    EXPECT_TRUE(EstNoir(VueOffscreen(etat.PorteeImage), 5, 5));
    LibereTableGraphes(etat);
    EXPECT_TRUE(etat.Graphes.empty());
    DisposeOffscreen(etat.PorteeImage);
    EXPECT_FALSE(ConstruitTableGraphes(etat));
}

// A beamed group at 300 dpi needs more than the 20500 stack entries an old
// cap allowed; the fill must take the whole component, not a piece of it.
TEST(Components, LargeComponentsAreNotCutShort) {
    BandeTest b(1400, 200);
    EtatPage& etat = b.etat;
    // Eight stems joined by three thick beams, with heads at their feet.
    for (int i = 0; i < 8; ++i) {
        const int x = 40 + i * 160;
        b.Rectangle(x, 20, x + 2, 150);
        b.Tete(x - 10, 155, 13, 9);
    }
    for (int k = 0; k < 3; ++k) b.Rectangle(40, 20 + 16 * k, 40 + 7 * 160 + 2, 30 + 16 * k);
    BilanExtraction bilan;
    const auto g = Composantes(etat, &bilan);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_GT(bilan.pileMaximum, 20500);
    EXPECT_EQ(bilan.pixelsPerdus, 0);
    EXPECT_EQ(bilan.composantesTronquees, 0);
    EXPECT_EQ(g[0].Cadre.top, 20);
    EXPECT_GE(g[0].Cadre.bottom, 162);
}

TEST(Components, ChercheDansLigne) {
    Graphe g;
    g.NbLignes = 2;
    g.Lignes = {{{10, 5, 0}, {20, 3, 0}, {30, 4, 0}}, {}};
    EXPECT_EQ(ChercheDansLigne(g, 16, 0), 1);  // nearest centre
    EXPECT_EQ(ChercheDansLigne(g, 15, 0), 0);  // equal distance: the first
    g.Lignes[0][1].Utilise = 1;
    EXPECT_EQ(ChercheDansLigne(g, 20, 0), 0);   // used runs are skipped; 10 and 30 tie
    EXPECT_EQ(ChercheDansLigne(g, 20, 1), -1);  // empty row
    EXPECT_EQ(ChercheDansLigne(g, 20, 2), -1);  // rows outside the component
    EXPECT_EQ(ChercheDansLigne(g, 20, -1), -1);
}

}  // namespace
