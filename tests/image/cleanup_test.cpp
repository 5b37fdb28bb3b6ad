#include <gtest/gtest.h>

#include "image/despeckle.h"
#include "image/margins.h"
#include "image/thresholding.h"
#include "image_test_support.h"

namespace {

std::vector<std::string> Rangees(int n, const std::string& ligne) {
    return std::vector<std::string>(static_cast<size_t>(n), ligne);
}

std::vector<std::string> Empile(std::initializer_list<std::vector<std::string>> parties) {
    std::vector<std::string> tout;
    for (const auto& p : parties) tout.insert(tout.end(), p.begin(), p.end());
    return tout;
}

}  // namespace

// A pixel is black when its colour sum is strictly below the threshold;
// white is never touched.
TEST(Seuillage, SumMustBeStrictlyBelowThreshold) {
    const uint8_t gris = IndexDeGris(0x77);
    const Couleur16 c = CouleurDIndex(gris);
    const int32_t somme = c.rouge + c.vert + c.bleu;
    Offscreen o = CreeOffscreen(2, 1);
    const VuePixels base = VueOffscreen(o);
    EcritPixel(base, 0, 0, gris);

    Seuillage(o, somme);
    EXPECT_EQ(LitPixel(VueOffscreen(o), 0, 0), IndexBlanc);
    EcritPixel(VueOffscreen(o), 0, 0, gris);
    Seuillage(o, somme + 1);
    EXPECT_EQ(LitPixel(VueOffscreen(o), 0, 0), IndexNoir);
    Seuillage(o, 300000);
    EXPECT_EQ(LitPixel(VueOffscreen(o), 1, 0), IndexBlanc);
    EXPECT_EQ(LitPixel(VueOffscreen(o), 0, 0), IndexNoir);
    DisposeOffscreen(o);
}

TEST(PourcentageSombre, CountsDarkByRedAndGreenOnly) {
    Offscreen o = BitmapDepuisTexte({"#.y."});
    EXPECT_FLOAT_EQ(PourcentageSombre(o), 25.0f);
    // Pure blue is dark whatever its blue: blue does not count.
    EcritPixel(VueOffscreen(o), 1, 0, IndexBleu);
    EXPECT_FLOAT_EQ(PourcentageSombre(o), 50.0f);
    DisposeOffscreen(o);
}

TEST(SupprimeMarges, TopScanCrossesTwentyOneRowsButNotTwentyTwo) {
    const std::string barre = "##########", pale = "#.........", blanc = "..........";
    for (int entre : {21, 22}) {
        Offscreen o =
            BitmapDepuisTexte(Empile({{barre}, Rangees(entre, pale), {barre}, Rangees(40, blanc)}));
        SupprimeMarges(o);
        const auto texte = TexteDepuisBitmap(o);
        EXPECT_EQ(texte[0], "yyyyyyyyyy");
        EXPECT_EQ(texte[1], pale);
        EXPECT_EQ(texte[1 + entre], entre == 21 ? "yyyyyyyyyy" : barre) << entre << " rows";
        DisposeOffscreen(o);
    }
}

TEST(SupprimeMarges, BottomScanMarksDarkRowsUpToTheFirstLightOne) {
    Offscreen o = BitmapDepuisTexte(Empile(
        {Rangees(5, ".........."), {"##########"}, {"#........."}, Rangees(2, "#########.")}));
    SupprimeMarges(o);
    const auto texte = TexteDepuisBitmap(o);
    EXPECT_EQ(texte[5], "##########");
    EXPECT_EQ(texte[6], "#.........");
    EXPECT_EQ(texte[7], "yyyyyyyyy.");
    EXPECT_EQ(texte[8], "yyyyyyyyy.");
    DisposeOffscreen(o);
}

TEST(Depoussiere, LevelsZeroOneTwoWithSpecksHolesAndDiagonalPairs) {
    const std::vector<std::string> page = {
        "..........", ".#........", "......#...", ".......#..",
        "..........", "...####...", "...#.##...", "...####...",
    };
    Offscreen o = BitmapDepuisTexte(page);
    Depoussiere(o, 0);
    EXPECT_EQ(TexteDepuisBitmap(o), page);

    Depoussiere(o, 1);
    auto texte = TexteDepuisBitmap(o);
    EXPECT_EQ(texte[1], "..........");  // lone speck gone
    EXPECT_EQ(texte[2], "......#...");  // diagonal pair kept
    EXPECT_EQ(texte[6], "...####...");  // one-pixel hole filled

    Depoussiere(o, 2);
    texte = TexteDepuisBitmap(o);
    EXPECT_EQ(texte[2], "..........");
    EXPECT_EQ(texte[3], "..........");
    EXPECT_EQ(texte[5], "...####...");
    DisposeOffscreen(o);
}

TEST(Depoussiere, HoleOnTheBorderIsFilledWithinTheBounds) {
    // White outside the bounds must not be taken for part of the hole.
    Offscreen o = BitmapDepuisTexte({".###", "####", "###."});
    Depoussiere(o, 1);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"####", "####", "####"}));
    DisposeOffscreen(o);
}

TEST(CompteComposante, CountsEightConnectedUpToLimitAndRestoresPixels) {
    Offscreen o = BitmapDepuisTexte({"rr..", "..r.", "...#"});
    const VuePixels base = VueOffscreen(o);
    EXPECT_EQ(CompteComposante(base, 0, 0, 0, 10, IndexRouge), 3);
    EXPECT_EQ(CompteComposante(base, 0, 0, 5, 10, IndexRouge), 8);
    EXPECT_EQ(CompteComposante(base, 0, 0, 0, 1, IndexRouge), 2);
    EXPECT_EQ(CompteComposante(base, 9, 0, 0, 10, IndexRouge), 0);
    EXPECT_EQ(CompteComposante(base, 3, 2, 0, 10, IndexRouge), 0);
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{"rr..", "..r.", "...#"}));
    DisposeOffscreen(o);
}
