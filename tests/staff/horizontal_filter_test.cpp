#include "staff/horizontal_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages_de_test.h"
#include "records/options.h"
#include "staff/column_scan.h"

using namespace pages_de_test;

namespace {

std::vector<uint8_t> Ligne(const std::string& motif) {
    std::vector<uint8_t> ligne;
    for (char c : motif) ligne.push_back(c == '#' ? IndexNoir : IndexBlanc);
    return ligne;
}

std::string Motif(const std::vector<uint8_t>& ligne) {
    std::string motif;
    for (uint8_t p : ligne) motif += p == IndexNoir ? '#' : '.';
    return motif;
}

class FiltreTest : public TestPortees {};

TEST_F(FiltreTest, KeepsOnlyTheStartsOfLongRunsAndBlackensTheLastColumns) {
    const std::vector<uint8_t> source = Ligne("..####.#####..###.......");
    std::vector<uint8_t> filtre(source.size());
    FiltreLigne(source.data(), filtre.data(), static_cast<int>(source.size()), 4);
    // A pixel stays black when it starts four black pixels; the last four
    // columns are black whatever the source.
    EXPECT_EQ(Motif(filtre), "..#....##...........####");
}

TEST_F(FiltreTest, FilteringInPlaceMatchesFilteringFromACopy) {
    Offscreen page = CreeOffscreen(97, 40);
    DessinePortee(page, 3, 90, 5, 6, 1);
    Noircit(page, 20, 0, 25, 40);
    Noircit(page, 50, 10, 58, 12);
    Offscreen copie = DupliqueOffscreen(page);
    ASSERT_TRUE(FiltreHorizontal(page, 10));
    for (int y = 0; y < page->hauteur; ++y) {
        std::vector<uint8_t> attendue(page->largeur);
        FiltreLigne(copie->PremiereLigne() + y * copie->pasLigne, attendue.data(), page->largeur,
                    10);
        const uint8_t* filtree = page->PremiereLigne() + y * page->pasLigne;
        EXPECT_EQ(std::vector<uint8_t>(filtree, filtree + page->largeur), attendue) << y;
    }
    // The 8-pixel dash is gone, the long lines remain from their start.
    const VuePixels base = VueOffscreen(page);
    EXPECT_FALSE(EstNoir(base, 50, 10));
    EXPECT_TRUE(EstNoir(base, 3, 5));
    EXPECT_TRUE(EstNoir(base, 80, 5));
    EXPECT_FALSE(EstNoir(base, 81, 5));  // 81 + 10 > 89: the run is too short
    EXPECT_TRUE(EstNoir(base, 87, 0));   // the last ten columns
    DisposeOffscreen(page);
    DisposeOffscreen(copie);
}

TEST_F(FiltreTest, TheBlackLastColumnsMakeNoLineGroup) {
    Offscreen page = CreeOffscreen(40, 200);
    DessinePortee(page, 0, 40, 50, 10, 1);
    ASSERT_TRUE(FiltreHorizontal(page, 10));
    ScanColonnes scan(page->hauteur);
    for (int x = 30; x < 40; ++x) ScanneColonne(ReglagesCourants(), *page, x, scan);
    EXPECT_TRUE(scan.groupes.empty());
    ScanneColonne(ReglagesCourants(), *page, 29, scan);
    EXPECT_EQ(scan.groupes.size(), 1u);
    DisposeOffscreen(page);
}

TEST_F(FiltreTest, CancelStopsTheFilter) {
    Offscreen page = CreeOffscreen(40, 20);
    DemandeAnnulation();
    EXPECT_FALSE(FiltreHorizontal(page, 10));
    DisposeOffscreen(page);
}

}  // namespace
