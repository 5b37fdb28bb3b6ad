#include <gtest/gtest.h>

#include <random>

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

// Random pixels of black, white and light yellow, black with probability
// `noir`, in small clumps as well as lone ones.
std::vector<std::string> PageAleatoire(std::mt19937& hasard, int largeur, int hauteur,
                                       double noir) {
    std::vector<std::string> page(static_cast<size_t>(hauteur), std::string(largeur, '.'));
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (auto& ligne : page)
        for (char& c : ligne) c = u(hasard) < noir ? '#' : (u(hasard) < 0.03 ? 'y' : '.');
    return page;
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

// Specks and holes up to the level's size go (diagonal pairs are one
// component), level 0 changes nothing. Components are counted only where a
// run of the pixel's colour along its row or down its column does not
// already exceed the level; the page must come out as if every pixel were
// counted, in reading order.
TEST(Depoussiere, SameAsCountingEveryPixelOnRandomPages) {
    std::mt19937 hasard(29);
    for (double noir : {0.1, 0.45, 0.8}) {
        for (int niveau : {0, 1, 2, 3, 5, 9}) {
            const auto page = PageAleatoire(hasard, 37, 23, noir);
            Offscreen attendue = BitmapDepuisTexte(page);
            const VuePixels base = VueOffscreen(attendue);
            for (int y = 0; y < attendue->hauteur; ++y)
                for (int x = 0; x < attendue->largeur; ++x) {
                    const uint8_t c = LitPixel(base, x, y);
                    if (CompteComposante(base, x, y, 0, niveau, c) <= niveau)
                        RemplitComposante(base, x, y, c, c == IndexNoir ? IndexBlanc : IndexNoir);
                }
            Offscreen o = BitmapDepuisTexte(page);
            Depoussiere(o, niveau);
            EXPECT_EQ(TexteDepuisBitmap(o), TexteDepuisBitmap(attendue))
                << "black " << noir << ", level " << niveau;
            if (niveau == 0) {
                EXPECT_EQ(TexteDepuisBitmap(o), page);
            }
            DisposeOffscreen(o);
            DisposeOffscreen(attendue);
        }
    }
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
