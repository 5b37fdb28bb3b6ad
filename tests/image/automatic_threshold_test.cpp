#include "image/automatic_threshold.h"

#include <gtest/gtest.h>

#include <random>

#include "image/page_scale.h"
#include "image/thresholding.h"
#include "staff/pages_de_test.h"

using namespace pages_de_test;

namespace {

class SeuilAutomatiqueTest : public ::testing::Test {
  protected:
    void SetUp() override { InitialiseCouleurs(); }
};

// Staves whose lines are `epaisseur` pixels of full black smoothed evenly
// over two rows, as a one-pixel line drawn at low resolution between two
// rows of pixels comes out.
Offscreen PageDeLignesGrises(int interligne, float epaisseur) {
    const int largeur = 60 * interligne;
    Offscreen page = CreeOffscreen(largeur, 5 * 10 * interligne);
    const VuePixels vue = VueOffscreen(page);
    const uint8_t gris = IndexDeGris(static_cast<uint8_t>(255 * (1 - epaisseur / 2)));
    for (int k = 0; k < 4; ++k)
        for (int ligne = 0; ligne < 5; ++ligne) {
            const int y = (10 * k + 5 + ligne) * interligne;
            for (int x = interligne; x < largeur - interligne; ++x) {
                EcritPixel(vue, x, y, gris);
                EcritPixel(vue, x, y + 1, gris);
            }
        }
    return page;
}

TEST_F(SeuilAutomatiqueTest, ThinGreyLinesSurviveTheThresholdChosenForThem) {
    for (const float epaisseur : {0.8f, 0.9f}) {
        Offscreen page = PageDeLignesGrises(14, epaisseur);
        Offscreen copie = DupliqueOffscreen(page);
        const SeuilAutomatique choix = ChoisitSeuil(page);
        EXPECT_NEAR(choix.epaisseurTraits, epaisseur, 0.1) << epaisseur;
        EXPECT_GT(choix.seuil, kSeuilParDefaut) << epaisseur;

        // At the default the lines vanish; at the chosen threshold the
        // staves are there to measure.
        Seuillage(copie, kSeuilParDefaut);
        EXPECT_EQ(EstimeInterligne(copie), 0) << epaisseur;
        Seuillage(page, choix.seuil);
        EXPECT_NEAR(EstimeInterligne(page), 14, 0.5) << epaisseur;
        DisposeOffscreen(copie);
        DisposeOffscreen(page);
    }
}

TEST_F(SeuilAutomatiqueTest, SharpPagesAndPagesWithoutLinesKeepTheDefault) {
    Offscreen nette = CreeOffscreen(1200, 1000);
    for (int k = 0; k < 4; ++k) DessinePortee(nette, 20, 1180, 100 + 220 * k, 20, 2);
    const SeuilAutomatique choix = ChoisitSeuil(nette);
    EXPECT_EQ(choix.seuil, kSeuilParDefaut);
    EXPECT_NEAR(choix.epaisseurTraits, 2.0, 0.05);
    DisposeOffscreen(nette);

    // Isolated specks are not strokes, however grey.
    Offscreen taches = CreeOffscreen(800, 1000);
    std::mt19937 alea(3);
    const VuePixels vue = VueOffscreen(taches);
    for (int i = 0; i < 40000; ++i)
        EcritPixel(vue, static_cast<int>(alea() % 800), static_cast<int>(alea() % 1000),
                   IndexDeGris(140));
    EXPECT_EQ(ChoisitSeuil(taches).seuil, kSeuilParDefaut);
    EXPECT_EQ(ChoisitSeuil(taches).epaisseurTraits, 0);
    DisposeOffscreen(taches);
}

}  // namespace
