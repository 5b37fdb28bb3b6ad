#include "staff/vertical_lines.h"

#include "bande_synthetique.h"
#include "records/options.h"
#include "toolbox/messages.h"

namespace essai {
namespace {

// Interline 20: gapMax 8, widthMax 12, heightMin 8, dx 4, dy 8.
constexpr int kL = 400, kH = 240, kS = 20;

class LignesVerticales : public BandeEssai {
  protected:
    Offscreen bande = nullptr;
    void SetUp() override {
        BandeEssai::SetUp();
        bande = NouvelleBande(kL, kH);
    }
    const std::vector<LigneVert>& Recherche() {
        Installe(bande, PorteeDroite(kL, kH, 80, kS));
        EXPECT_TRUE(RechercheLignesVert(etat, ReglagesCourants()));
        return Courante().LignesVert;
    }
};

TEST_F(LignesVerticales, StemIsOneLineAndTheBandIsLeftAlone) {
    Pave(bande, 100, 50, 102, 110);
    Offscreen avant = Copie(bande);
    const auto& l = Recherche();
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].Type, 0);
    EXPECT_EQ(l[0].PosX, 100);
    EXPECT_EQ(l[0].PosY, 50);
    EXPECT_EQ(l[0].Longueur, 59);  // to its last row
    EXPECT_EQ(l[0].Epaisseur, 2);
    EXPECT_EQ(l[0].NbAccroches, 0);
    EXPECT_EQ(bande->pixels, avant->pixels);
}

TEST_F(LignesVerticales, ShortStrokesAndBlobsAreNotLines) {
    Pave(bande, 50, 50, 52, 57);    // 7 rows: traced length 6 < 8
    Pave(bande, 100, 50, 120, 90);  // 20 wide > widthMax
    Tete(bande, 200, 100, kS);
    EXPECT_TRUE(Recherche().empty());
}

TEST_F(LignesVerticales, GapsUpToGapMaxAreBridgedLongerOnesMergeOnlyWithinDy) {
    Pave(bande, 50, 20, 52, 60);
    Pave(bande, 50, 68, 52, 100);  // gap of 8 rows: traced through
    Pave(bande, 150, 20, 152, 60);
    Pave(bande, 150, 72, 152, 100);  // gap of 12: two traces, boxes meet
    Pave(bande, 250, 20, 252, 60);
    Pave(bande, 250, 80, 252, 120);  // gap of 20: two lines
    const auto& l = Recherche();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].PosX, 50);
    EXPECT_EQ(l[0].Longueur, 79);
    EXPECT_EQ(l[1].PosX, 150);
    EXPECT_EQ(l[1].PosY, 20);
    EXPECT_EQ(l[1].Longueur, 79);
    EXPECT_EQ(l[2].PosX, 250);
    EXPECT_EQ(l[2].Longueur, 39);
    EXPECT_EQ(l[3].PosX, 250);
    EXPECT_EQ(l[3].PosY, 80);
}

TEST_F(LignesVerticales, LeaningStrokeIsFollowedFromItsLeftmostColumn) {
    for (int i = 0; i < 40; ++i) Pave(bande, 100 + i / 2, 50 + i, 102 + i / 2, 51 + i);
    for (int i = 0; i < 40; ++i) Pave(bande, 300 - i, 50 + i, 302 - i, 51 + i);
    const auto& l = Recherche();
    // Only the columns of the seed are erased after each trace: the drifted
    // remains further than dx from the first column make lines of their own.
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l[0].PosX, 100);
    EXPECT_EQ(l[0].PosY, 50);
    EXPECT_EQ(l[0].Longueur, 39);
    EXPECT_EQ(l[1].PosX, 262);  // the trace keeps to the rightmost pixel of each step
    EXPECT_EQ(l[1].PosY, 50);
    EXPECT_EQ(l[1].Longueur, 39);
}

TEST_F(LignesVerticales, CloseParallelStrokesAreOneLineWithTheFirstThickness) {
    Pave(bande, 100, 50, 102, 110);
    Pave(bande, 105, 60, 108, 130);
    const auto& l = Recherche();
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].PosX, 100);
    EXPECT_EQ(l[0].PosY, 50);
    EXPECT_EQ(l[0].Longueur, 79);
    EXPECT_EQ(l[0].Epaisseur, 2);
}

// A stem ends on the first row of its head, as wide as the interline. Heads
// on both sides of a chord's stem, a second beside the others, make every
// row between them too wide to trace: the stroke stays black down its
// column and is one line. Collinear strokes with white between them stay
// apart.
TEST_F(LignesVerticales, StemsEndAtTheirHeadAndRunThroughTheHeadsOfAChord) {
    Pave(bande, 100, 40, 102, 170);
    Pave(bande, 102, 80, 124, 120);  // heads right of the stem
    Pave(bande, 78, 110, 100, 128);  // the lower head of the second, left
    Pave(bande, 250, 40, 252, 80);
    Pave(bande, 250, 110, 252, 170);
    Pave(bande, 350, 40, 352, 100);
    Pave(bande, 330, 100, 352, 115);
    const auto& l = Recherche();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].PosX, 100);
    EXPECT_EQ(l[0].PosY, 40);
    EXPECT_EQ(l[0].PosY + l[0].Longueur, 169);
    EXPECT_EQ(l[1].PosX, 250);
    EXPECT_EQ(l[3].PosY, 110);
    EXPECT_EQ(l[2].PosX, 350);
    EXPECT_EQ(l[2].PosY + l[2].Longueur, 100);
}

TEST_F(LignesVerticales, NoLengthToAverageWhenTheMinimumHeightIsZero) {
    Reglage.LigneVertHauteurMinimale = 0;
    Pave(bande, 100, 50, 130, 60);
    EXPECT_TRUE(Recherche().empty());
}

TEST_F(LignesVerticales, TypingOutsideTheListIsReported) {
    Portee p = PorteeDroite(kL, kH, 80, kS);
    CaptureAlertes alertes;
    for (int x : {10, 20, 30})
        p.LignesVert.push_back(LigneVert{0, 0, static_cast<int16_t>(x), 50, 2, 0, 0});
    SetTypeLigneVert(p, 3, 1);
    SetTypeLigneVert(p, -1, 1);
    EXPECT_EQ(alertes.Textes().size(), 2u);
    SetTypeLigneVert(p, 2, kTypeLigneBarre);
    SetTypeLignesVertZone(p, 10, 20, 3);
    EXPECT_EQ(p.LignesVert[0].Type, 3);
    EXPECT_EQ(p.LignesVert[1].Type, 3);
    EXPECT_EQ(p.LignesVert[2].Type, kTypeLigneBarre);
}

}  // namespace
}  // namespace essai
