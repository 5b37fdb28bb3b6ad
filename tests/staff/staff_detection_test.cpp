#include "staff/staff_detection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "image/page_preparation.h"
#include "pages_de_test.h"
#include "records/options.h"
#include "support/page_names.h"
#include "test_paths.h"
#include "toolbox/messages.h"

using namespace pages_de_test;

namespace {

int EchantillonsValides(const Portee& p) {
    int n = 0;
    for (const EchantillonLignes& e : p.Echantillons) n += e.Chaine != 0;
    return n;
}

void TeteNoire(Offscreen page, int cx, int cy, int rx, int ry) {
    const VuePixels base = VueOffscreen(page);
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x)
            if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry)
                EcritPixel(base, cx + x, cy + y, IndexNoir);
}

// Three staves of interline 16 on a 1200 x 900 page, with note heads, stems
// and a beam; the middle one falls 8 rows over its width.
Offscreen PageTroisPortees() {
    Offscreen page = CreeOffscreen(1200, 900);
    DessinePortee(page, 60, 1140, 120, 16);
    DessinePorteePenchee(page, 60, 1140, 420, 16, 8);
    DessinePortee(page, 60, 1140, 700, 16);
    for (int haut : {120, 700}) {
        for (int n = 0; n < 12; ++n) {
            const int x = 150 + 80 * n, y = haut + (n % 7) * 8 + 1;
            TeteNoire(page, x, y, 10, 7);
            Noircit(page, x + 8, y - 50, x + 10, y);
        }
        Noircit(page, 600, haut - 40, 900, haut - 33);  // a beam above the staff
    }
    return page;
}

class RecherchePorteesTest : public TestPortees {};

TEST_F(RecherchePorteesTest, FindsAndFollowsTheStavesOfAPage) {
    Offscreen page = PageTroisPortees();
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(page, nullptr);  // consumed
    EXPECT_TRUE(etat.GroupesLignes.empty());
    ASSERT_EQ(etat.NbPorteesTrouvees(), 3);
    EXPECT_NEAR(etat.InterligneMoyenne, 16.0f, 0.2f);
    EXPECT_NEAR(etat.EpaisseurLigne, 2.0f, 0.1f);
    EXPECT_EQ(etat.QualiteBruit, 1000);
    const int hauts[3] = {120, 420, 700};
    for (int i = 0; i < 3; ++i) {
        const Portee& p = etat.Portees[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(p.NbLignesPortee, 5);
        EXPECT_NEAR(p.Interligne, 16.0f, 0.2f);
        EXPECT_EQ(p.LargeurSection, static_cast<int>(5 * p.Interligne));
        EXPECT_GE(EchantillonsValides(p), static_cast<int>(p.Echantillons.size()) - 3);
        EXPECT_NEAR(p.CadreLignes.left, 60, 3);
        EXPECT_NEAR(p.CadreLignes.right, 1130, 12);
        // The top line in band rows, at both ends and in the middle.
        const int chute = i == 1 ? 8 : 0;
        for (int x : {100, 600, 1100}) {
            const double attendu = hauts[i] + chute * (x - 60.0) / 1080.0 - p.CadreBande.top;
            EXPECT_NEAR(LigneHautEn(etat, i, x), attendu, 1.5) << "column " << x;
            EXPECT_NEAR(InterligneEn(etat, i, x), 16.0f, 0.5f);
        }
        EXPECT_EQ(p.CadreBande, p.CadreBandeRef);
        EXPECT_LE(p.CadreBande.top, p.DebutProfil);
        EXPECT_GE(p.CadreBande.bottom, p.FinProfil);
        if (i > 0) {
            EXPECT_GE(p.CadreBande.top, etat.Portees[i - 1].FinProfil);
        }
    }
    // 8 rows over 1080 columns is 7 per mille; measured over the band's whole
    // width, from samples filled beyond the staff's ends, a little less.
    EXPECT_GE(etat.QualiteGeometrie, 1000 - 30 * 8);
    EXPECT_LE(etat.QualiteGeometrie, 1000 - 30 * 4);
    EXPECT_TRUE(progression.avertissements.empty());
}

TEST_F(RecherchePorteesTest, BlankPageAndThickLinesHaveNoStaff) {
    Offscreen page = CreeOffscreen(300, 200);
    EXPECT_FALSE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(etat.NbPorteesTrouvees(), 0);
    EXPECT_EQ(etat.QualiteGeometrie, 0);
    // Only "no staff": with no line at all there is no spacing to warn about.
    EXPECT_EQ(progression.avertissements, (std::vector<std::string>{MessageNumero(58)}));
    // Lines six pixels thick are no staff lines.
    page = CreeOffscreen(600, 300);
    DessinePortee(page, 20, 580, 60, 24, 6);
    EXPECT_FALSE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(etat.NbPorteesTrouvees(), 0);
}

// A scan blurred and thresholded so dark that its staff lines ran into the
// paper around them: the rows of heads and beams still make humps in the
// profile, but no line can be followed, so there is no staff.
TEST_F(RecherchePorteesTest, APageWhoseLinesAreGoneHasNoStaff) {
    const std::string chemin = RUZO_CORPUS "/degraded/mozart_k545_expo/blur-threshold/page-1.png";
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    Offscreen page = ChargeImageReconnaissance(chemin);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(etat.NbPorteesTrouvees(), 0);
}

TEST_F(RecherchePorteesTest, SixLineStaffIsCountedAsSix) {
    Offscreen page = CreeOffscreen(800, 400);
    DessinePortee(page, 40, 760, 100, 16, 2, 6);
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
    ASSERT_EQ(etat.NbPorteesTrouvees(), 1);
    EXPECT_EQ(etat.Portees[0].NbLignesPortee, 6);
    EXPECT_EQ(etat.Portees[0].LargeurSection, 96);
}

TEST_F(RecherchePorteesTest, PageOfBareStavesHasItsStaves) {
    // Every row off the staves is empty, so the usual threshold lies above
    // the humps.
    Offscreen page = CreeOffscreen(800, 600);
    DessinePortee(page, 40, 760, 100, 20);
    DessinePortee(page, 40, 760, 400, 20);
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
    ASSERT_EQ(etat.NbPorteesTrouvees(), 2);
    EXPECT_NEAR(LigneHautEn(etat, 0, 400) + etat.Portees[0].CadreBande.top, 100, 1);
    EXPECT_NEAR(LigneHautEn(etat, 1, 400) + etat.Portees[1].CadreBande.top, 400, 1);
}

// A cancelled run still disposes of the page; the next run starts afresh.
TEST_F(RecherchePorteesTest, CancelStopsTheStageAndTheNextRunStartsAfresh) {
    Offscreen page = PageTroisPortees();
    DemandeAnnulation();
    EXPECT_FALSE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(page, nullptr);
    EXPECT_TRUE(etat.GroupesLignes.empty());
    EffaceAnnulation();
    for (int passe = 0; passe < 2; ++passe) {
        page = PageTroisPortees();
        ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
        EXPECT_EQ(etat.NbPorteesTrouvees(), 3);
    }
}

// Real engraved pages: the staff count, five lines each, a followed top line.
struct PageReelle {
    const char* chemin;
    int portees;
};

void PrintTo(const PageReelle& p, std::ostream* os) {
    *os << p.chemin;
}

class PagesReellesTest : public TestPortees, public ::testing::WithParamInterface<PageReelle> {};

TEST_P(PagesReellesTest, FindsEveryStaffWithFiveFollowedLines) {
    const std::filesystem::path chemin = std::filesystem::path(RUZO_CORPUS) / GetParam().chemin;
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    Offscreen page = ChargeImageReconnaissance(chemin.string());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
    ASSERT_EQ(etat.NbPorteesTrouvees(), GetParam().portees);
    for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = etat.Portees[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(p.NbLignesPortee, 5);
        EXPECT_GT(EchantillonsValides(p), 0);
        ASSERT_FALSE(p.Echantillons.empty());
        const float y = p.Echantillons[0].Y;  // packed: compared through a copy
        EXPECT_GE(y, 0.0f);                   // the driver would skip the staff
        EXPECT_GT(p.CadreLignes.right - p.CadreLignes.left, 300);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, PagesReellesTest,
    ::testing::Values(PageReelle{"pages/fife_chester/musescore/page-1.png", 2},
                      PageReelle{"pages/mozart_k545_expo/verovio/page-1.png", 8},
                      PageReelle{"pages/bach_bwv40_8/lilypond/page-1.png", 12},
                      PageReelle{"degraded/lied_reichardt_bergmannslied/rotate/page-1.png", 6},
                      PageReelle{"degraded/mozart_k545_expo/noise/page-1.png", 8},
                      // A short last system of two staves.
                      PageReelle{"pages/cschumann_polonaise1/verovio/page-2.png", 10},
                      // A long slur between the two lowest lines.
                      PageReelle{"pages/oneill_enchanted_valley/verovio/page-1.png", 4}),
    NomParPage());

}  // namespace

namespace {

// A 200 dpi scan has staff lines of less than a pixel, smoothed over two grey
// rows. Enlarged to the working size, it must still show all six of its
// staves: thresholded at the default, one of them broke up and was lost.
TEST_F(RecherchePorteesTest, AnEnlargedLowResolutionScanKeepsEveryStaff) {
    const std::string chemin =
        RUZO_CORPUS "/degraded/lied_reichardt_bergmannslied/lowres/page-1.png";
    if (!std::filesystem::exists(chemin)) GTEST_SKIP() << "no corpus at " << RUZO_CORPUS;
    MesuresChargement mesures;
    Offscreen page = ChargeImageReconnaissance(chemin, &mesures);
    ASSERT_NE(page, nullptr);
    EXPECT_GT(mesures.echelle.facteur, 1.5f);
    ASSERT_TRUE(RecherchePortees(etat, ReglagesCourants(), page));
    EXPECT_EQ(etat.NbPorteesTrouvees(), 6);
}

}  // namespace
