#include "symbols/ties.h"

#include <gtest/gtest.h>

#include <cmath>

#include "band_fixture.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "symbols/notes.h"

namespace {

// A band of interline 20 with its top line at row 80 (the staff runs to row
// 160), with ties drawn on it; the intact copy is taken when the search runs.
class RechercheLiaisonsTest : public ::testing::Test {
  protected:
    BandeTest bande{400, 260, 20, 80};
    EtatPage& etat = bande.etat;

    void SetUp() override { RegleOptionsParDefaut(Options); }
    void TearDown() override { RegleOptionsParDefaut(Options); }

    // An arc from column x0 to x1 whose ends are at row `base`, bulging by
    // `fleche` rows (up when negative), `epaisseur` rows thick.
    void Arc(int x0, int x1, int base, int fleche, int epaisseur) {
        for (int x = x0; x <= x1; ++x) {
            const double t = static_cast<double>(x - x0) / (x1 - x0);
            const int haut = base + static_cast<int>(std::lround(4 * fleche * t * (1 - t)));
            for (int y = haut; y < haut + epaisseur; ++y) bande.Pixel(x, y);
        }
    }
    bool Cherche() {
        // A test may search twice: the band of the first search goes.
        if (etat.PorteeImageIntacte) DisposeOffscreen(etat.PorteeImageIntacte);
        etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
        return RechercheLiaisons(etat, ReglagesCourants());
    }
    // Two heads on row yTetes at columns xa and xb, and an arc between them
    // as Arc draws it: the side of the one tie found (AuDessus), or -1 when
    // the search fails or finds another count of ties.
    int CoteDeLaLiaisonEntre(int xa, int xb, int yTetes, int x0, int x1, int base, int fleche) {
        bande.Tete(xa, yTetes, 13, 9);
        bande.Tete(xb, yTetes, 13, 9);
        Arc(x0, x1, base, fleche, 3);
        if (!Cherche() || Liaisons().size() != 1) return -1;
        return Liaisons()[0].AuDessus;
    }
    int Noirs(int x0, int y0, int x1, int y1) {
        const VuePixels base = VueOffscreen(etat.PorteeImage);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += EstNoir(base, x, y);
        return n;
    }
    const std::vector<Liaison>& Liaisons() { return etat.Courante().Liaisons; }
};

}  // namespace

TEST_F(RechercheLiaisonsTest, ArcAboveIsRecordedAndErasedWholeWithItsThinTips) {
    Arc(100, 160, 60, -14, 3);
    for (int x = 161; x < 167; ++x) bande.Pixel(x, 60);  // a one-pixel tip at the right end
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    const Liaison& l = Liaisons()[0];
    EXPECT_EQ(l.AuDessus, 1);
    EXPECT_EQ(l.PosXDebut, 100);
    EXPECT_EQ(l.PosYDebut, 60);
    EXPECT_EQ(l.PosXFin, 161);
    // Nothing is left to be read as a dot: not the rows under the run tops
    // at the ends, nor the tip.
    EXPECT_EQ(Noirs(90, 40, 170, 80), 0);
}

TEST_F(RechercheLiaisonsTest, ATieRunningIntoAStemEndsOnTheArcAndSparesTheStem) {
    Arc(100, 160, 60, -14, 3);
    bande.Rectangle(161, 20, 162, 75);  // a stem rising above the arc's end
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXFin, 161);
    EXPECT_EQ(Liaisons()[0].PosYFin, 60);
    EXPECT_EQ(Noirs(161, 20, 163, 76), 2 * 56);
}

TEST_F(RechercheLiaisonsTest, ArcBelowIsRecordedAsBelow) {
    Arc(200, 280, 190, 15, 3);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].AuDessus, 0);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 200);
}

TEST_F(RechercheLiaisonsTest, ShortFlatThickOrInStaffStrokesAreNotTies) {
    Arc(20, 45, 60, -12, 3);   // 1.25 interlines wide
    Arc(100, 180, 50, -8, 3);  // rises less than half an interline
    // A sloping bar a little under half an interline thick, as a beam
    // measures once thresholded.
    for (int x = 200; x < 280; ++x) bande.Rectangle(x, 60 - (x - 200) / 4, x, 68 - (x - 200) / 4);
    Arc(300, 360, 130, -15, 3);  // between the staff lines, with no head at its ends
    const OctetsPixels avant = etat.PorteeImage->pixels;
    ASSERT_TRUE(Cherche());
    EXPECT_TRUE(Liaisons().empty());
    EXPECT_EQ(etat.PorteeImage->pixels, avant);
}

TEST_F(RechercheLiaisonsTest, ATieBetweenTheLinesJoinsTwoHeadsAcrossAGapAndABarLine) {
    bande.Tete(150, 130, 13, 9);
    bande.Tete(230, 130, 13, 9);
    // A smile between the heads, crossed by a bar line and cut where line
    // removal took a staff line with it.
    Arc(166, 216, 138, 10, 3);
    bande.Rectangle(180, 80, 183, 160);
    for (int x = 172; x < 176; ++x)
        for (int y = 130; y < 160; ++y)
            EcritPixel(VueOffscreen(etat.PorteeImage), x, y, IndexBlanc);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    const Liaison& l = Liaisons()[0];
    EXPECT_EQ(l.AuDessus, 0);
    EXPECT_EQ(l.PosXDebut, 166);
    EXPECT_NEAR(l.PosXFin, 217, 3);  // the head's thin left edge may be taken
    EXPECT_EQ(Noirs(184, 140, 217, 152), 0);
    EXPECT_EQ(Noirs(180, 80, 184, 130), 4 * 50);  // the bar line stays
}

// Heads on ledger lines above the staff: the shallow tie joining them, two
// interlines over the top line, is one; the outline of a hollow head, whose
// sides look like heads beyond its upper half, is not.
TEST_F(RechercheLiaisonsTest, AShallowTieOverLedgerHeadsIsOneAHollowHeadsOutlineIsNot) {
    bande.Tete(150, 50, 13, 9);
    bande.Tete(230, 50, 13, 9);
    Arc(166, 216, 40, -8, 3);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].AuDessus, 1);
    EXPECT_EQ(Noirs(175, 25, 205, 45), 0);

    LibereLiaisons(etat.Courante());
    // A hollow head under the staff: a closed ring whose thin top, between
    // its thick flanks, looks like a tie between two heads.
    Arc(140, 165, 185, -6, 3);
    bande.Rectangle(136, 182, 139, 193);
    bande.Rectangle(166, 182, 169, 193);
    Arc(140, 165, 191, 2, 3);
    const OctetsPixels avant = etat.PorteeImage->pixels;
    ASSERT_TRUE(Cherche());
    EXPECT_TRUE(Liaisons().empty());
    EXPECT_EQ(etat.PorteeImage->pixels, avant);
}

// Between tied chords the heads are close and their ties bow only a fifth
// of an interline; the top of a flat's belly, reached from the head before
// it across the flat's short stem, bows as little and is no tie, while a
// tie crossing a stem as tall as a note's is one.
TEST_F(RechercheLiaisonsTest, AFlatTieBetweenCloseHeadsIsOneUnlessItCrossesAShortStroke) {
    bande.Tete(130, 130, 13, 9);
    bande.Tete(210, 130, 13, 9);
    Arc(156, 184, 138, 4, 3);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 156);
    EXPECT_EQ(Liaisons()[0].AuDessus, 0);

    LibereLiaisons(etat.Courante());
    bande.Tete(262, 110, 13, 9);
    bande.Tete(352, 110, 13, 9);
    bande.Rectangle(304, 80, 305, 125);  // a flat's stem, two interlines and a quarter
    Arc(290, 324, 100, -4, 3);
    ASSERT_TRUE(Cherche());
    EXPECT_TRUE(Liaisons().empty());

    bande.Rectangle(304, 30, 305, 79);  // the same stroke as tall as a note's stem
    ASSERT_TRUE(Cherche());
    EXPECT_EQ(Liaisons().size(), 1u);
}

// Between the tight chords of a dense line a tie is shorter than an
// interline, and bows steeply; as short and nearly flat, it is no tie.
TEST_F(RechercheLiaisonsTest, AShortSteepTieBetweenTightChordsIsOne) {
    EXPECT_EQ(CoteDeLaLiaisonEntre(130, 190, 130, 151, 169, 116, -9), 1);
    LibereLiaisons(etat.Courante());
    EXPECT_EQ(CoteDeLaLiaisonEntre(260, 320, 130, 281, 299, 116, -4), -1);
}

// Over heads on ledger lines, line removal takes the flat top of their tie
// where it runs along a ledger line's row, and leaves two short flanks:
// the tie is found whole on the band with its lines.
TEST_F(RechercheLiaisonsTest, ATieOverLedgerLineHeadsWhoseTopLineRemovalTookIsOne) {
    bande.Tete(150, 40, 13, 9);
    bande.Tete(230, 40, 13, 9);
    Arc(166, 216, 28, -8, 3);
    etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
    const VuePixels sansLignes = VueOffscreen(etat.PorteeImage);
    for (int y = 18; y < 26; ++y)
        for (int x = 178; x < 205; ++x) EcritPixel(sansLignes, x, y, IndexBlanc);
    ASSERT_TRUE(RechercheLiaisons(etat, ReglagesCourants()));
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].AuDessus, 1);
}

// A tie under a flagged head starts against the flag: the trace runs down
// the flag, and only the arc up to where it turns is the tie. The flag
// stays on the band.
TEST_F(RechercheLiaisonsTest, ATieStartingAgainstAFlagEndsWhereTheTraceTurns) {
    bande.Tete(140, 130, 13, 9);
    bande.Tete(242, 130, 13, 9);
    Arc(166, 216, 138, 10, 3);
    for (int k = 0; k < 20; ++k) bande.Rectangle(165 - k / 2, 139 + k, 166 - k / 2, 139 + k);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].AuDessus, 0);
    EXPECT_NEAR(Liaisons()[0].PosXDebut, 166, 2);
    EXPECT_GT(Noirs(155, 145, 164, 160), 10);
}

// Line removal takes the long thin tips of a long tie where they run along
// a staff line: its heads lie more than an interline beyond what is left.
TEST_F(RechercheLiaisonsTest, ALongTieWhoseTipsLineRemovalTookStillJoinsItsHeads) {
    EXPECT_EQ(CoteDeLaLiaisonEntre(100, 300, 130, 138, 262, 145, 8), 0);
}

// A tie over heads on the second ledger line lies more than two interlines
// and a half over the top line: still near enough to be taken between two
// heads.
TEST_F(RechercheLiaisonsTest, ATieOverHeadsOnTheSecondLedgerLineIsOne) {
    EXPECT_EQ(CoteDeLaLiaisonEntre(150, 230, 40, 166, 216, 28, -6), 1);
}

// The first half of a tie cut by the line break leaves its head and runs
// to the end of the staff lines, with no head beyond it; short of the end,
// the same arc is no tie.
TEST_F(RechercheLiaisonsTest, ATieCutByTheLineBreakRunsToTheEndOfTheStaff) {
    bande.Tete(340, 130, 13, 9);
    Arc(356, 393, 138, 8, 3);
    bande.Tete(200, 130, 13, 9);
    Arc(216, 253, 138, 8, 3);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 356);
    EXPECT_EQ(Liaisons()[0].AuDessus, 0);
}

// Some engravers print the first half of a tie cut by the line break as a
// short, flat arc just past its head, here over a head on ledger lines far
// above the staff, with no head after it up to the end of the lines. The
// same arc between two heads is no tie, nor is the lower outline of a
// hollow head at the end of the line.
TEST_F(RechercheLiaisonsTest, AShortFirstHalfOfATieCutByTheLineBreak) {
    bande.Tete(200, 20, 13, 9);
    Arc(216, 234, 8, -4, 2);
    bande.Tete(250, 20, 13, 9);
    bande.Tete(340, 20, 13, 9);
    Arc(356, 374, 8, -4, 2);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 356);
    EXPECT_EQ(Liaisons()[0].AuDessus, 1);
    EXPECT_GT(Noirs(216, 0, 235, 12), 0);
}

// The second half of a tie cut by the line break runs from past the key
// signature to its head, here a shallow arc over a head on ledger lines far
// above the staff. A flat of the key signature before it, whose belly has a
// head-tall edge, is no head; the same arc after a head is no tie.
TEST_F(RechercheLiaisonsTest, ASecondHalfAfterTheKeySignatureIsATie) {
    for (int y = 60; y < 125; ++y) bande.Pixel(100, y);  // the flat's stem
    Arc(100, 114, 104, -6, 2);                           // its belly's thin top
    bande.Rectangle(111, 100, 114, 117);                 // and thick edge
    Arc(150, 200, 8, -4, 2);
    bande.Tete(216, 20, 13, 9);
    Arc(250, 300, 8, -4, 2);
    bande.Tete(316, 20, 13, 9);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 150);
    EXPECT_EQ(Liaisons()[0].AuDessus, 1);
}

// Over the staff, the lower note of a chord on ledger lines has its tie
// under it: the arc bows down and is recorded as below.
TEST_F(RechercheLiaisonsTest, AnArcBowingDownOverTheStaffIsATieBelow) {
    EXPECT_EQ(CoteDeLaLiaisonEntre(150, 250, 30, 168, 232, 42, 6), 0);
}

TEST_F(RechercheLiaisonsTest, TheOutlineOfAHollowHeadEndingTheLineIsNoTie) {
    // A stem, then a ring one interline tall; nothing after it.
    for (int y = 150; y < 230; ++y) bande.Pixel(338, y);
    Arc(340, 362, 220, -8, 2);  // upper half
    Arc(340, 362, 222, 10, 2);  // lower half
    ASSERT_TRUE(Cherche());
    EXPECT_TRUE(Liaisons().empty());
}

TEST_F(RechercheLiaisonsTest, ATieLineRemovalCutIsFoundWholeOnTheIntactBand) {
    // Above the staff, along a line that line removal took with a stretch
    // of the tie: on the band, two pieces too short to be ties; on the
    // intact band, the whole arc.
    Arc(100, 180, 60, -16, 3);
    etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
    for (int x = 120; x < 160; ++x)
        for (int y = 40; y < 70; ++y) EcritPixel(VueOffscreen(etat.PorteeImage), x, y, IndexBlanc);
    ASSERT_TRUE(RechercheLiaisons(etat, ReglagesCourants()));
    ASSERT_EQ(Liaisons().size(), 1u);
    EXPECT_EQ(Liaisons()[0].PosXDebut, 100);
    EXPECT_EQ(Liaisons()[0].PosXFin, 181);
    EXPECT_EQ(Noirs(90, 30, 190, 80), 0);
}

TEST_F(RechercheLiaisonsTest, NoIntactBandFailsOptionOffLeavesTheBand) {
    EXPECT_FALSE(RechercheLiaisons(etat, ReglagesCourants()));
    Options.AutoriserLiaisons = 0;
    Arc(100, 160, 60, -14, 3);
    const OctetsPixels avant = etat.PorteeImage->pixels;
    ASSERT_TRUE(Cherche());
    EXPECT_TRUE(Liaisons().empty());
    EXPECT_EQ(etat.PorteeImage->pixels, avant);
}

TEST_F(RechercheLiaisonsTest, AStaffSearchedAgainDoesNotDoubleItsTies) {
    Arc(100, 160, 60, -14, 3);
    ASSERT_TRUE(Cherche());
    ASSERT_TRUE(RechercheLiaisons(etat, ReglagesCourants()));
    EXPECT_EQ(Liaisons().size(), 1u);
}

namespace {

class AttacheLiaisonsTest : public ::testing::Test {
  protected:
    BandeTest bande{400, 260, 20, 80};
    EtatPage& etat = bande.etat;

    void Note(int x, int y) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        n.PosY = static_cast<int16_t>(y);
        etat.Courante().Symboles.push_back(n);
    }
    void Liaison_(int x0, int y0, int x1, int y1, bool dessus) {
        Liaison l;
        l.AuDessus = dessus;
        l.PosXDebut = static_cast<int16_t>(x0);
        l.PosYDebut = static_cast<int16_t>(y0);
        l.PosXFin = static_cast<int16_t>(x1);
        l.PosYFin = static_cast<int16_t>(y1);
        etat.Courante().Liaisons.push_back(l);
    }
    const NotePortee& N(int i) { return etat.Courante().Symboles.at(i); }
    // The number of the tie starting on note `debut` and ending on note
    // `fin`; -1 when the two ends carry different numbers.
    int Relie(int debut, int fin) {
        const int numero = N(debut).Debut.Numero;
        return numero == N(fin).Fin.Numero ? numero : -1;
    }
    // Two chords of two heads, at columns 100 and 160: notes 0 and 2 at row
    // yHaut on staff line ligneHaut, notes 1 and 3 at yBas on ligneBas.
    void DeuxAccords(int yHaut, int ligneHaut, int yBas, int ligneBas) {
        for (int x : {100, 160}) {
            Note(x, yHaut);
            Note(x, yBas);
        }
        for (int i : {0, 2})
            etat.Courante().Symboles[i].Interligne = static_cast<int16_t>(ligneHaut);
        for (int i : {1, 3})
            etat.Courante().Symboles[i].Interligne = static_cast<int16_t>(ligneBas);
    }
};

}  // namespace

TEST_F(AttacheLiaisonsTest, EachEndTakesTheNearestNoteOnItsSide) {
    Note(95, 75);   // 0: 15 rows under the left end: too far
    Note(100, 62);  // 1: 2 rows under it: taken
    Note(100, 59);  // 2: above an above-tie's end: never
    Note(170, 99);  // 3: 39 rows under the right end, within two interlines
    Note(240, 62);  // 4: three interlines to the right: too far
    Note(172, 63);  // 5: a rest
    Note(178, 62);  // 6: a removed note
    etat.Courante().Symboles[5].Silence = 1;
    etat.Courante().Symboles[6].Etat = kNoteSupprimee;
    Liaison_(110, 60, 180, 60, true);
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(N(1).Debut.Numero, 1);
    EXPECT_EQ(N(1).Debut.PosX, 110);
    EXPECT_EQ(N(1).Debut.AuDessus, 1);
    EXPECT_EQ(N(3).Fin.Numero, 1);
    for (int i : {0, 2, 4, 5, 6}) {
        EXPECT_EQ(N(i).Debut.Numero, 0) << i;
        EXPECT_EQ(N(i).Fin.Numero, 0) << i;
    }
    EXPECT_EQ(etat.NumeroLiaison, 2);
}

TEST_F(AttacheLiaisonsTest, TwoTiesEndingOnOneNoteAndNumbersKeptApart) {
    Note(100, 200);                       // 0
    Note(160, 200);                       // 1
    Note(170, 200);                       // 2
    Liaison_(115, 210, 158, 210, false);  // 1: 0 -> 1
    Liaison_(118, 210, 160, 210, false);  // 2: its end only, on 2, as 1's end slot is taken
    Liaison_(300, 210, 360, 210, false);  // no note at either end: no number
    Liaison_(185, 215, 390, 215, false);  // 3: its start only, on 2
    Liaison_(20, 240, 100, 212, false);   // 4: its end only
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(0, 1), 1);
    EXPECT_EQ(N(2).Fin.Numero, 2);
    EXPECT_EQ(N(1).Debut.Numero, 0);
    EXPECT_EQ(N(2).Debut.Numero, 3);
    EXPECT_EQ(N(0).Fin.Numero, 4);
    EXPECT_EQ(etat.NumeroLiaison, 5);
}

TEST_F(AttacheLiaisonsTest, AnEndTakesTheHeadItPointsAtNotANeighbourNearerInRows) {
    Note(100, 168);  // 0: the tie starts over this head's right side
    Note(134, 157);  // 1: a higher neighbour, nearer the tie in rows
    Note(207, 168);  // 2: the tie ends over this head's left side
    Note(250, 157);  // 3: a higher neighbour
    Liaison_(113, 147, 212, 147, true);
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(0, 2), 1);
    EXPECT_EQ(N(1).Debut.Numero + N(1).Fin.Numero + N(3).Debut.Numero + N(3).Fin.Numero, 0);
}

// Tied chords of a dense line: the tie over the upper heads ends level with
// the next chord's upper head, a step above a lower head nearer its end; the
// tie over the lower heads hugs a staff line, which flattened its bow, so it
// was taken as lying under them. Each joins two heads of one pitch.
TEST_F(AttacheLiaisonsTest, TiesBetweenTightChordsJoinHeadsOfOnePitch) {
    DeuxAccords(135, 1, 156, 3);
    Liaison_(125, 129, 153, 135, true);
    Liaison_(125, 150, 151, 152, false);
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(0, 2), 1);
    EXPECT_EQ(Relie(1, 3), 2);
    EXPECT_EQ(N(3).Fin.AuDessus, 1);
}

// The tie over the middle heads of tied chords runs along a staff line and
// was taken as lying under them: the heads over it, an interline and a half
// up, are of one pitch too, but its ends lie against the heads under it.
TEST_F(AttacheLiaisonsTest, AFlattenedTieTakesTheHeadsItsEndsLieAgainst) {
    DeuxAccords(104, -2, 135, 1);
    Liaison_(125, 129, 152, 134, false);
    Liaison_(128, 95, 152, 95, true);
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(1, 3), 1);
    EXPECT_EQ(N(3).Fin.AuDessus, 1);
    EXPECT_EQ(Relie(0, 2), 2);
}

// An end traced up the side of its head is level with the head's middle:
// the head is taken, rather than a farther one wholly on the tie's side,
// when at the line of the other end's note, as a tie's heads are; the end
// of a wedge beside a head at another line is no tie's.
TEST_F(AttacheLiaisonsTest, AnEndLevelWithAHeadTakesItOnlyAtTheOtherEndsLine) {
    Note(100, 200);
    Note(150, 200);
    Note(165, 165);  // a higher head of the next chord
    Note(250, 200);
    Note(300, 200);
    etat.Courante().Symboles[4].Interligne = 2;
    Liaison_(115, 210, 148, 200, false);
    Liaison_(265, 210, 298, 200, false);
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(0, 1), 1);
    EXPECT_EQ(N(2).Fin.Numero, 0);
    EXPECT_EQ(N(3).Debut.Numero, 2);
    EXPECT_EQ(N(4).Fin.Numero, 0);
}

TEST_F(AttacheLiaisonsTest, ATieBetweenTwoNotesAtOneHeightJoinsThem) {
    Note(100, 200);
    Note(150, 200);
    Liaison_(106, 210, 146, 210, false);  // both notes as near in rows to each end
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(Relie(0, 1), 1);
    EXPECT_EQ(N(0).Fin.Numero, 0);
    EXPECT_EQ(N(1).Debut.Numero, 0);
}
