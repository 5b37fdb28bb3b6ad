#include "staff/column_scan.h"

#include <gtest/gtest.h>

#include "pages_de_test.h"
#include "records/options.h"

using namespace pages_de_test;

namespace {

class ScanneColonneTest : public TestPortees {
  protected:
    void SetUp() override {
        TestPortees::SetUp();
        page = CreeOffscreen(4, 300);
    }
    void TearDown() override {
        DisposeOffscreen(page);
        TestPortees::TearDown();
    }
    Offscreen page = nullptr;
};

TEST_F(ScanneColonneTest, ThinEvenLinesMakeOneGroupFromTheFirstLineCentre) {
    DessinePortee(page, 0, 4, 100, 10, 1);
    ScanColonnes scan(page->hauteur);
    const float epaisseur = ScanneColonne(ReglagesCourants(), *page, 2, scan);
    ASSERT_EQ(scan.groupes.size(), 1u);
    const GroupeLignes& g = scan.groupes[0];
    EXPECT_EQ(g.Colonne, 2);
    EXPECT_EQ(g.PremiereLigne, 100);
    EXPECT_EQ(g.NbLignesGroupe, 5);
    EXPECT_FLOAT_EQ(g.InterligneGroupe, 10.0f);
    EXPECT_FLOAT_EQ(epaisseur, 1.0f);
}

TEST_F(ScanneColonneTest, ThickerLinesAreCentredAndKeepTheirSpacing) {
    DessinePortee(page, 0, 4, 100, 20, 5);  // rows 100-104, 120-124, ...
    ScanColonnes scan(page->hauteur);
    EXPECT_FLOAT_EQ(ScanneColonne(ReglagesCourants(), *page, 0, scan), 5.0f);
    ASSERT_EQ(scan.groupes.size(), 1u);
    EXPECT_EQ(scan.groupes[0].PremiereLigne, 102);
    EXPECT_EQ(scan.groupes[0].NbLignesGroupe, 5);
    EXPECT_FLOAT_EQ(scan.groupes[0].InterligneGroupe, 20.0f);
}

TEST_F(ScanneColonneTest, LinesSixPixelsThickAreNotStaffLines) {
    DessinePortee(page, 0, 4, 100, 20, 6);
    ScanColonnes scan(page->hauteur);
    EXPECT_FLOAT_EQ(ScanneColonne(ReglagesCourants(), *page, 0, scan), 0.0f);
    EXPECT_TRUE(scan.groupes.empty());
}

TEST_F(ScanneColonneTest, NoteHeadOverTheLowLinesLeavesAGroupOfThree) {
    DessinePortee(page, 0, 4, 100, 10, 1);
    Noircit(page, 0, 127, 4, 146);  // hides the fourth and fifth lines
    ScanColonnes scan(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 0, scan);
    ASSERT_EQ(scan.groupes.size(), 1u);
    EXPECT_EQ(scan.groupes[0].NbLignesGroupe, 3);
    EXPECT_FLOAT_EQ(scan.groupes[0].InterligneGroupe, 10.0f);

    // Two lines left are too few for a group.
    Noircit(page, 1, 117, 2, 146);
    ScanColonnes scan2(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 1, scan2);
    EXPECT_TRUE(scan2.groupes.empty());
}

TEST_F(ScanneColonneTest, GapsOutsideTheStaffLimitsEndTheGroup) {
    // Gaps of 4 white rows are too narrow: lines at 100, 105, 110 (1 px).
    DessinePortee(page, 0, 1, 100, 5, 1);
    // Gaps of 22 white rows are too wide.
    DessinePortee(page, 1, 2, 100, 23, 1);
    // Gaps of 21 still join the lines.
    DessinePortee(page, 2, 3, 50, 22, 1);
    ScanColonnes scan(page->hauteur);
    for (int x = 0; x < 3; ++x) ScanneColonne(ReglagesCourants(), *page, x, scan);
    ASSERT_EQ(scan.groupes.size(), 1u);
    EXPECT_EQ(scan.groupes[0].Colonne, 2);
    EXPECT_FLOAT_EQ(scan.groupes[0].InterligneGroupe, 22.0f);
}

TEST_F(ScanneColonneTest, AMisplacedLineEndsTheGroupWithoutStartingOne) {
    // Lines at 100, 110, 120, then 135 (off by 5), then 145, 155, 165.
    for (int y : {100, 110, 120, 135, 145, 155, 165}) Noircit(page, 0, y, 4, y + 1);
    ScanColonnes scan(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 0, scan);
    ASSERT_EQ(scan.groupes.size(), 2u);
    EXPECT_EQ(scan.groupes[0].PremiereLigne, 100);
    EXPECT_EQ(scan.groupes[0].NbLignesGroupe, 3);
    // 135 ended the first group; 145 starts the next.
    EXPECT_EQ(scan.groupes[1].PremiereLigne, 145);
    EXPECT_EQ(scan.groupes[1].NbLignesGroupe, 3);
}

TEST_F(ScanneColonneTest, AThinRunInsideAGapIsPassedOver) {
    // A slur crossing the fourth gap (at 168) leaves the five lines one group.
    for (int y : {100, 120, 140, 160, 168, 180}) Noircit(page, 0, y, 4, y + 1);
    ScanColonnes scan(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 0, scan);
    ASSERT_EQ(scan.groupes.size(), 1u);
    EXPECT_EQ(scan.groupes[0].NbLignesGroupe, 5);
    EXPECT_FLOAT_EQ(scan.groupes[0].InterligneGroupe, 20.0f);
}

TEST_F(ScanneColonneTest, LongWhiteRunsCountTheirRowsButTheFirst) {
    Noircit(page, 0, 100, 4, 101);
    ScanColonnes scan(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 0, scan);
    ScanneColonne(ReglagesCourants(), *page, 1, scan);
    const std::vector<int32_t> blancs = scan.LignesBlanches();
    EXPECT_EQ(blancs[0], 0);
    EXPECT_EQ(blancs[1], 2);
    EXPECT_EQ(blancs[99], 2);
    EXPECT_EQ(blancs[100], 0);
    EXPECT_EQ(blancs[101], 0);  // first row of the run below the line
    EXPECT_EQ(blancs[102], 2);
    EXPECT_EQ(blancs[299], 2);  // the run that reaches the bottom counts too
}

TEST_F(ScanneColonneTest, AGroupReachingTheBottomIsKept) {
    Offscreen courte = CreeOffscreen(2, 135);
    DessinePortee(courte, 0, 2, 100, 10, 1, 4);  // last line at 130, four white rows below
    ScanColonnes scan(courte->hauteur);
    ScanneColonne(ReglagesCourants(), *courte, 0, scan);
    DisposeOffscreen(courte);
    ASSERT_EQ(scan.groupes.size(), 1u);
    EXPECT_EQ(scan.groupes[0].NbLignesGroupe, 4);
}

TEST_F(ScanneColonneTest, PageThicknessIsTheMeanOverColumnsWithThinRuns) {
    Offscreen large = CreeOffscreen(3, 300);
    Noircit(large, 0, 100, 1, 101);  // column 0: thickness 1
    Noircit(large, 1, 100, 2, 103);  // column 1: thickness 3; column 2 has none
    ScanColonnes scan(large->hauteur);
    float epaisseur = -1;
    EXPECT_TRUE(ScanneColonnes(ReglagesCourants(), *large, scan, epaisseur));
    DisposeOffscreen(large);
    EXPECT_FLOAT_EQ(epaisseur, 2.0f);
}

}  // namespace
