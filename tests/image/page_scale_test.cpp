#include "image/page_scale.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "image/page_preparation.h"
#include "image/thresholding.h"
#include "staff/pages_de_test.h"
#include "test_paths.h"

using namespace pages_de_test;

namespace {

class EchellePageTest : public ::testing::Test {
  protected:
    void SetUp() override { InitialiseCouleurs(); }
};

// A page of `n` staves of five lines `interligne` apart (distance from one
// line's top to the next), with a stem and a head here and there, as an
// engraver at that staff size would draw them.
Offscreen PageDePortees(int interligne, int epaisseur, int n = 4) {
    const int largeur = 60 * interligne;
    Offscreen page = CreeOffscreen(largeur, (n + 1) * 10 * interligne);
    for (int k = 0; k < n; ++k) {
        const int haut = (10 * k + 5) * interligne;
        DessinePortee(page, interligne, largeur - interligne, haut, interligne, epaisseur);
        for (int x = 4 * interligne; x < largeur - 2 * interligne; x += 3 * interligne) {
            Noircit(page, x, haut + interligne, x + interligne, haut + 2 * interligne);
            Noircit(page, x + interligne, haut - 2 * interligne, x + interligne + epaisseur,
                    haut + 2 * interligne);
        }
    }
    return page;
}

TEST_F(EchellePageTest, InterlineIsFoundAtEveryStaffSizeAndNotOnPagesWithoutStaves) {
    for (const auto& [interligne, epaisseur] :
         {std::pair{8, 1}, {12, 2}, {20, 2}, {31, 4}, {42, 5}}) {
        Offscreen page = PageDePortees(interligne, epaisseur);
        EXPECT_NEAR(EstimeInterligne(page), interligne, 0.5) << interligne;
        DisposeOffscreen(page);
    }
    Offscreen blanche = CreeOffscreen(800, 1000);
    EXPECT_EQ(EstimeInterligne(blanche), 0);
    std::mt19937 alea(7);
    const VuePixels vue = VueOffscreen(blanche);
    for (int i = 0; i < 40000; ++i)
        EcritPixel(vue, static_cast<int>(alea() % 800), static_cast<int>(alea() % 1000), IndexNoir);
    EXPECT_EQ(EstimeInterligne(blanche), 0) << "random specks have no staff spacing";
    DisposeOffscreen(blanche);
}

// A page lying on its side shows its staff spacing along its rows.
TEST_F(EchellePageTest, PagesLyingOnTheirSideAreTold) {
    Offscreen page = CreeOffscreen(1200, 1000);
    for (int k = 0; k < 4; ++k) DessinePortee(page, 20, 1180, 100 + 220 * k, 16, 2);
    EXPECT_FALSE(PorteesVerticales(page));
    Offscreen couchee = Rotation90Gauche(page);
    EXPECT_TRUE(PorteesVerticales(couchee));
    DisposeOffscreen(couchee);
    DisposeOffscreen(page);
    Offscreen blanche = CreeOffscreen(800, 1000);
    EXPECT_FALSE(PorteesVerticales(blanche));
    DisposeOffscreen(blanche);
}

TEST_F(EchellePageTest, PagesWithLargeOrSmallStavesAreBroughtToTheTargetInterline) {
    // In range: left alone, the same offscreen.
    for (const auto& [interligne, epaisseur] : {std::pair{18, 2}, {15, 2}}) {
        Offscreen page = PageDePortees(interligne, epaisseur);
        const Offscreen avant = page;
        const MiseALEchelle mise = MetPageALEchelle(page);
        EXPECT_EQ(page, avant);
        EXPECT_EQ(mise.facteur, 1.0f);
        DisposeOffscreen(page);
    }
    // Large staves reduced to the target and small ones enlarged, their thin
    // lines kept.
    for (const auto& [interligne, epaisseur] : {std::pair{42, 5}, {26, 3}, {9, 1}}) {
        Offscreen page = PageDePortees(interligne, epaisseur);
        const int largeur = page->largeur;
        const MiseALEchelle mise = MetPageALEchelle(page);
        EXPECT_NEAR(mise.facteur, kInterligneCible / interligne, 0.02) << interligne;
        EXPECT_NEAR(page->largeur, largeur * mise.facteur, 1.0);
        // Thin lines survive the resampling: the page measures at the target.
        Seuillage(page, kSeuilParDefaut);
        EXPECT_NEAR(EstimeInterligne(page), kInterligneCible, 1.0) << interligne;
        DisposeOffscreen(page);
    }
}

// A real page enlarged twice over, as a 600 dpi scan of it would be, comes
// back to the interline of the page as engraved.
TEST_F(EchellePageTest, ARealPageEnlargedComesBackToItsInterline) {
    const std::string chemin = RUZO_CORPUS "/pages/fife_chester/musescore/page-1.png";
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    Offscreen page = ChargeImageReconnaissance(chemin);
    ASSERT_NE(page, nullptr);
    const float interligne = EstimeInterligne(page);
    ASSERT_GT(interligne, 14);
    Offscreen double_ = ReechantillonnePage(page, 2.0f);
    ASSERT_NE(double_, nullptr);
    EXPECT_NEAR(EstimeInterligne(double_), 2 * interligne, 0.05 * interligne);
    const MiseALEchelle mise = MetPageALEchelle(double_);
    EXPECT_NEAR(EstimeInterligne(double_), kInterligneCible, 1.0);
    EXPECT_LT(mise.facteur, 0.6f);
    DisposeOffscreen(double_);
    DisposeOffscreen(page);
}

}  // namespace
