#include "image/background.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/automatic_threshold.h"
#include "image/page_scale.h"
#include "image/thresholding.h"
#include "staff/pages_de_test.h"

using namespace pages_de_test;

namespace {

class FondPageTest : public ::testing::Test {
  protected:
    void SetUp() override { InitialiseCouleurs(); }
};

// Staves drawn in black on paper whose grey goes from `gauche` at the left
// edge to `droite` at the right, with a few heads.
Offscreen PageEclairee(int gauche, int droite) {
    const int largeur = 1200, hauteur = 1000;
    Offscreen page = CreeOffscreen(largeur, hauteur);
    const VuePixels vue = VueOffscreen(page);
    for (int x = 0; x < largeur; ++x) {
        const uint8_t gris =
            IndexDeGris(static_cast<uint8_t>(gauche + (droite - gauche) * x / largeur));
        for (int y = 0; y < hauteur; ++y) EcritPixel(vue, x, y, gris);
    }
    for (int k = 0; k < 4; ++k) {
        DessinePortee(page, 20, 1180, 100 + 220 * k, 20, 2);
        for (int x = 80; x < 1150; x += 90) Noircit(page, x, 120 + 220 * k, x + 22, 138 + 220 * k);
    }
    return page;
}

// Under light falling off across the page, the staves are lost in the dark
// side's paper at the default threshold; with the paper evened out they are
// whole again, ink still black and paper white everywhere.
TEST_F(FondPageTest, PaperDimmedAcrossThePageIsEvenedOut) {
    Offscreen sombre = PageEclairee(64, 255);
    Offscreen brut = DupliqueOffscreen(sombre);
    Seuillage(brut, kSeuilParDefaut);
    EXPECT_EQ(LitPixel(VueOffscreen(brut), 30, 50), IndexNoir) << "the dark side's paper is black";

    ASSERT_TRUE(NormaliseFond(sombre));
    Seuillage(sombre, ChoisitSeuil(sombre).seuil);
    EXPECT_NEAR(EstimeInterligne(sombre), 20, 0.5);
    const VuePixels vue = VueOffscreen(sombre);
    for (const int x : {30, 300, 600, 900, 1170}) {
        EXPECT_EQ(LitPixel(vue, x, 50), IndexBlanc) << "paper at column " << x;
        EXPECT_EQ(LitPixel(vue, x, 100), IndexNoir) << "staff line at column " << x;
    }
    DisposeOffscreen(brut);
    DisposeOffscreen(sombre);
}

// Evenly lit pages, white or uniformly grey, are left exactly as they were.
TEST_F(FondPageTest, EvenPaperIsLeftUntouched) {
    for (const int gris : {255, 200}) {
        Offscreen page = PageEclairee(gris, gris);
        Offscreen copie = DupliqueOffscreen(page);
        EXPECT_FALSE(NormaliseFond(page)) << gris;
        const VuePixels a = VueOffscreen(page), b = VueOffscreen(copie);
        int differents = 0;
        for (int y = 0; y < page->hauteur; y += 3)
            for (int x = 0; x < page->largeur; x += 3)
                differents += LitPixel(a, x, y) != LitPixel(b, x, y);
        EXPECT_EQ(differents, 0) << gris;
        DisposeOffscreen(copie);
        DisposeOffscreen(page);
    }
}

}  // namespace
