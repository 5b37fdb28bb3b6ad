#include "symbols/staff_position.h"

#include <gtest/gtest.h>

#include "note_fixture.h"

namespace {

class PositionsPortee : public PorteeNotes {
  protected:
    // The five staff lines and the ledger lines of `ledger` (line indices,
    // negative above the staff), each two rows thick, around column 300;
    // then the band is kept as it was before line removal.
    void DessineLignes(std::initializer_list<int> ledger) {
        for (int l = 0; l < 5; ++l) bande().Rectangle(0, kHaut + l * kS, 599, kHaut + l * kS + 1);
        for (int l : ledger) bande().Rectangle(270, kHaut + l * kS, 330, kHaut + l * kS + 1);
        etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
    }
    // The position of a head drawn at (300, y) on the intact band.
    bool Tete(int y, int& position, bool lignesSupp = true) {
        bande().Tete(300, y, 0.65f * kS, 0.45f * kS);
        DisposeOffscreen(etat.PorteeImageIntacte);
        etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
        return PositionPortee(etat, 0, 300, y, position, lignesSupp);
    }
};

TEST_F(PositionsPortee, LinesAndSpacesInsideTheStaffCountHalfInterlines) {
    DessineLignes({});
    int p = 99;
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut, p, true));
    EXPECT_EQ(p, 0);
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut + kS / 2, p, true));
    EXPECT_EQ(p, 1);
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut + 4 * kS, p, true));
    EXPECT_EQ(p, 8);
    // Half an interline above the top line is still placed by the lines.
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut - kS / 2, p, true));
    EXPECT_EQ(p, -1);
}

TEST_F(PositionsPortee, LedgerLinesAreWalkedAboveAndBelow) {
    DessineLignes({-1, -2, 5, 6});
    int p = 0;
    ASSERT_TRUE(Tete(kHaut - 2 * kS, p));
    EXPECT_EQ(p, -4);  // on the second ledger line above
    ASSERT_TRUE(Tete(kHaut - 5 * kS / 2, p));
    EXPECT_EQ(p, -5);  // above it
    ASSERT_TRUE(Tete(kHaut + 5 * kS, p));
    EXPECT_EQ(p, 10);  // on the first ledger line below
    ASSERT_TRUE(Tete(kHaut + 6 * kS + kS / 2, p));
    EXPECT_EQ(p, 13);  // below the second one
}

TEST_F(PositionsPortee, AHeadFarFromAnyLedgerLineHasNoPositionButAGraceNoteDoes) {
    DessineLignes({});
    int p = 0;
    EXPECT_FALSE(Tete(kHaut - 3 * kS, p));
    // Grace notes extend the staff lines instead of walking ledger lines.
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut - 3 * kS, p, false));
    EXPECT_EQ(p, -6);
}

TEST_F(PositionsPortee, ABeamIsNoLedgerLine) {
    // A beam half an interline thick an interline below the staff, and under
    // it a head of the staff below, two interlines from the bottom line.
    DessineLignes({});
    bande().Rectangle(200, kHaut + 5 * kS - 2, 400, kHaut + 5 * kS + kS / 2 - 3);
    int p = 0;
    EXPECT_FALSE(Tete(kHaut + 6 * kS, p));
}

TEST_F(PositionsPortee, NoBandBeforeLineRemovalMeansNoLedgerLines) {
    int p = 0;
    EXPECT_FALSE(PositionPortee(etat, 0, 300, kHaut - 3 * kS, p, true));
    // Within 1.5 interlines of the top line, but with no line found only
    // the space next to the staff can be told.
    ASSERT_TRUE(PositionPortee(etat, 0, 300, kHaut - kS, p, true));
    EXPECT_EQ(p, -1);
}

TEST_F(PositionsPortee, ThinStrokesCountButHeadsDoNot) {
    bande().Rectangle(250, 100, 349, 101);  // a line 100 columns long
    bande().Tete(300, 100, 0.65f * kS, 0.45f * kS);
    const VuePixels base = VueOffscreen(etat.PorteeImage);
    const int n = LongueurLigneSupplementaire(base, 300, 100, kS);
    // At most 2.4 interlines each way, less the head's thick columns.
    EXPECT_GT(n, 40);
    EXPECT_LT(n, 2 * static_cast<int>(2.4 * kS) - 20);
    // A head alone is no line: its thin rim stays below the line threshold.
    bande().Tete(500, 150, 0.65f * kS, 0.45f * kS);
    EXPECT_LT(LongueurLigneSupplementaire(VueOffscreen(etat.PorteeImage), 500, 150, kS), kS / 4);
}

}  // namespace
