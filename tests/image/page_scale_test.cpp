#include "image/page_scale.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "image/automatic_threshold.h"
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

// Grey level of a pixel of a grey page, 0 black to 255 white.
int GrisDe(Offscreen page, int x, int y) {
    const Couleur16 c = CouleurDIndex(LitPixel(VueOffscreen(page), x, y));
    return (int{c.rouge} + c.vert + c.bleu) / 3 >> 8;
}

// Reducing keeps every stroke's ink whatever the factor and wherever the
// stroke falls between output pixels, so two beams drawn close together stay
// two beams. Sampling between source pixels instead (what interpolation does
// at factors near 1) makes strokes darker or lighter by turns down the page.
TEST_F(EchellePageTest, ReducingKeepsTheInkOfEveryStrokeAtEveryPhase) {
    for (const float facteur : {0.9f, 0.707f, 0.63f, 0.47f}) {
        // Pairs of beams 8 px thick, 5 px apart, one every 31 px so that
        // each falls at another phase of the output rows.
        Offscreen page = CreeOffscreen(300, 40 * 31);
        for (int k = 0; k < 40; ++k) {
            Noircit(page, 20, 31 * k + 4, 280, 31 * k + 12);
            Noircit(page, 20, 31 * k + 17, 280, 31 * k + 25);
        }
        Offscreen reduite = ReechantillonnePage(page, facteur);
        ASSERT_NE(reduite, nullptr);
        const int x = reduite->largeur / 2;
        for (int k = 0; k < 40; ++k) {
            // The ink of the pair, summed down the column, is its 16 px of
            // black times the factor (within the steps of the grey table).
            const int haut = static_cast<int>(31 * k * facteur);
            const int bas = static_cast<int>(31 * (k + 1) * facteur);
            double encre = 0;
            for (int y = haut; y < bas; ++y) encre += (255 - GrisDe(reduite, x, y)) / 255.0;
            EXPECT_NEAR(encre, 16 * facteur, 0.15) << facteur << " pair " << k;
        }
        // Thresholded, every pair is still two beams.
        Seuillage(reduite, kSeuilParDefaut);
        for (int k = 0; k < 40; ++k) {
            int bandes = 0;
            bool noir = false;
            for (int y = static_cast<int>(31 * k * facteur);
                 y < static_cast<int>(31 * (k + 1) * facteur); ++y) {
                const bool n = LitPixel(VueOffscreen(reduite), x, y) == IndexNoir;
                bandes += n && !noir;
                noir = n;
            }
            EXPECT_EQ(bandes, 2) << facteur << " pair " << k;
        }
        DisposeOffscreen(reduite);
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

// A low-resolution scan: staff lines one pixel thick that fell between two
// rows, each row at 60 % of white, and pairs of beams with a gap of two
// light grey rows between them. Enlarged, the lines come out whole and thin,
// and the beams stay two.
TEST_F(EchellePageTest, AnEnlargedScanKeepsItsFaintLinesWithoutClosingGaps) {
    const int interligne = 8, largeur = 480;
    Offscreen page = CreeOffscreen(largeur, 400);
    const VuePixels vue = VueOffscreen(page);
    const auto trace = [&](int y, int x0, int x1, uint8_t gris) {
        for (int x = x0; x < x1; ++x) EcritPixel(vue, x, y, IndexDeGris(gris));
    };
    for (int k = 0; k < 4; ++k)
        for (int ligne = 0; ligne < 5; ++ligne) {
            const int y = 40 + 90 * k + ligne * interligne;
            trace(y, 16, largeur - 16, 0x99);
            trace(y + 1, 16, largeur - 16, 0x99);
        }
    for (int k = 0; k < 4; ++k) {
        const int y = 40 + 90 * k + 5 * interligne + 12;
        Noircit(page, 100, y, 300, y + 4);
        trace(y + 4, 100, 300, 0xAA);
        trace(y + 5, 100, 300, 0xAA);
        Noircit(page, 100, y + 6, 300, y + 10);
    }
    // Measured, as at load, at the threshold chosen for the page's grey lines.
    const MiseALEchelle mise = MetPageALEchelle(page, ChoisitSeuil(page).seuil);
    ASSERT_NEAR(mise.facteur, 2.5, 0.05);
    const VuePixels grande = VueOffscreen(page);
    const auto noir = [&](int x, int y) { return LitPixel(grande, x, y) == IndexNoir; };
    // The black rows across each column near a line (or beam pair) centre.
    const auto bandes = [&](int x, int centre, int demi, int* epaisseur) {
        int n = 0, noirs = 0;
        bool avant = false;
        for (int y = centre - demi; y <= centre + demi; ++y) {
            const bool b = noir(x, y);
            n += b && !avant;
            noirs += b;
            avant = b;
        }
        if (epaisseur) *epaisseur = noirs;
        return n;
    };
    for (int k = 0; k < 4; ++k) {
        for (int ligne = 0; ligne < 5; ++ligne) {
            const int centre = static_cast<int>((41 + 90 * k + ligne * interligne) * 2.5);
            int coupures = 0, epaisse = 0;
            for (int x = 50; x < static_cast<int>((largeur - 20) * 2.5); ++x) {
                int epaisseur = 0;
                coupures += bandes(x, centre, 6, &epaisseur) != 1;
                epaisse += epaisseur > 3;
            }
            EXPECT_EQ(coupures, 0) << "staff " << k << " line " << ligne;
            EXPECT_EQ(epaisse, 0) << "staff " << k << " line " << ligne;
        }
        const int paire = static_cast<int>((40 + 90 * k + 5 * interligne + 17) * 2.5);
        for (int x = 260; x < 740; x += 7)
            EXPECT_EQ(bandes(x, paire, 14, nullptr), 2) << "beams of staff " << k;
    }
    DisposeOffscreen(page);
}

}  // namespace
