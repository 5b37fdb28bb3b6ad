#include "staff/beams.h"

#include <algorithm>

#include "bande_synthetique.h"
#include "records/options.h"
#include "staff/vertical_lines.h"

namespace essai {
namespace {

// Interline 20: mask 9 wide and 6 high, bars of at least 40 columns,
// count runs of at least 8 columns, margins 20 (x) and 16 (y).
constexpr int kL = 400, kH = 240, kS = 20;
constexpr int kEpaisseurBarre = 10;

class Accroches : public BandeEssai {
  protected:
    Offscreen bande = nullptr;
    void SetUp() override {
        BandeEssai::SetUp();
        bande = NouvelleBande(kL, kH);
    }
    // Stem at column x from row y0 to row y1 with its head at the bottom.
    void TigeMontante(int x, int y0, int y1) {
        Pave(bande, x, y0, x + 2, y1);
        Tete(bande, x - 11, y1, kS);
    }
    void Barre(int x0, int x1, int y) { Pave(bande, x0, y, x1, y + kEpaisseurBarre); }

    // Vertical lines, then beams, on the drawn band.
    std::vector<LigneVert> Recherche() {
        Installe(bande, PorteeDroite(kL, kH, 80, kS));
        EXPECT_TRUE(RechercheLignesVert(etat, ReglagesCourants()));
        EXPECT_TRUE(RechercheAccrochesDecrites(etat, ReglagesCourants(), &trouvees));
        return Courante().LignesVert;
    }
    // The lines that reach above row `y`: the stems under the beams.
    static std::vector<LigneVert> Tiges(const std::vector<LigneVert>& l, int y = 100) {
        std::vector<LigneVert> t;
        for (const LigneVert& v : l)
            if (v.PosY < y) t.push_back(v);
        std::sort(t.begin(), t.end(),
                  [](const LigneVert& a, const LigneVert& b) { return a.PosX < b.PosX; });
        return t;
    }
    std::vector<AccrocheTrouvee> trouvees;
};

TEST_F(Accroches, EighthsGetOneBeamAndTheBeamLeavesTheBand) {
    for (int x : {100, 150, 200, 250}) TigeMontante(x, 40, 140);
    Barre(100, 252, 40);
    const auto tiges = Tiges(Recherche());
    ASSERT_EQ(tiges.size(), 4u);
    for (const LigneVert& t : tiges) {
        EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
        EXPECT_EQ(t.NumAccroche, 1) << t.PosX;
    }
    ASSERT_EQ(trouvees.size(), 1u);
    EXPECT_EQ(trouvees[0].x0, 100);
    EXPECT_EQ(CompteNoirs(bande, 80, 30, 260, 52), 0);
}

TEST_F(Accroches, SixteenthsAndMixedGroups) {
    for (int x : {100, 150, 200, 250}) TigeMontante(x, 40, 150);
    Barre(100, 252, 40);
    Barre(100, 152, 56);  // second beam over the first two stems only
    const auto tiges = Tiges(Recherche());
    ASSERT_EQ(tiges.size(), 4u);
    EXPECT_EQ(tiges[0].NbAccroches, 2);
    EXPECT_EQ(tiges[1].NbAccroches, 2);
    EXPECT_EQ(tiges[2].NbAccroches, 1);
    EXPECT_EQ(tiges[3].NbAccroches, 1);
}

TEST_F(Accroches, StemsDownCountAsWell) {
    for (int x : {100, 150, 200, 250}) {
        Tete(bande, x + 13, 60, kS);
        Pave(bande, x, 60, x + 2, 160);
    }
    Barre(100, 252, 150);
    Barre(100, 252, 134);
    const auto l = Recherche();
    ASSERT_EQ(l.size(), 4u);
    for (const LigneVert& t : l) EXPECT_EQ(t.NbAccroches, 2) << t.PosX;
}

TEST_F(Accroches, BarWithoutTwoStemsOnOneSideIsNotABeam) {
    TigeMontante(150, 40, 140);
    Barre(100, 252, 40);
    Offscreen avant = Copie(bande);
    const auto l = Recherche();
    EXPECT_TRUE(trouvees.empty());
    EXPECT_EQ(bande->pixels, avant->pixels);
    for (const LigneVert& t : l) EXPECT_EQ(t.NbAccroches, 0);
}

// A bar climbing 0.6 pixel per column, over the slope limit (0.5): a beam
// over a wide leap when a stem ends at each of its ends, else a slur's or a
// hairpin's stroke. As thick as two heads of a second, it is the middle
// stroke of a clef.
TEST_F(Accroches, SteepBarIsABeamOnlyFromStemToStem) {
    struct Cas {
        int epaisseur;
        bool tigeADroite;
        size_t attendues;
    };
    for (const Cas c : {Cas{12, true, 1}, Cas{12, false, 0}, Cas{18, true, 0}}) {
        bande = NouvelleBande(kL, kH);
        trouvees.clear();
        auto haut = [&](int x) { return 40 + (x - 120) * 6 / 10; };
        for (int x = 120; x < 232; ++x) Pave(bande, x, haut(x), x + 1, haut(x) + c.epaisseur);
        TigeMontante(120, 40 + c.epaisseur, 220);
        if (c.tigeADroite) TigeMontante(230, haut(230) + c.epaisseur, 220);
        Recherche();
        EXPECT_EQ(trouvees.size(), c.attendues) << c.epaisseur << " " << c.tigeADroite;
    }
}

// Two stems two interlines apart: the bar is 42 columns wide in the band,
// though only 34 mask pixels start a block of the mask's width.
TEST_F(Accroches, TwoNoteBeamOfATightLayout) {
    for (int x : {100, 140}) TigeMontante(x, 40, 140);
    Barre(100, 142, 40);
    const auto tiges = Tiges(Recherche());
    ASSERT_EQ(trouvees.size(), 1u);
    for (const LigneVert& t : tiges) EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
}

// A bar shorter than two interlines is a beam only from stem to stem, the
// stems stopping at it: not the bar of a sharp, whose strokes run on past
// it, nor a bar with a stem at one end only.
TEST_F(Accroches, ShortBarIsABeamOnlyFromStemToStem) {
    TigeMontante(20, 40, 140);
    TigeMontante(48, 40, 140);
    Barre(20, 50, 40);  // 30 columns, 29 once the last is dropped
    Pave(bande, 200, 20, 202, 130);
    Pave(bande, 226, 20, 228, 130);
    Barre(200, 228, 60);
    TigeMontante(300, 40, 140);
    TigeMontante(316, 40, 140);
    Barre(300, 332, 40);
    Recherche();
    ASSERT_EQ(trouvees.size(), 1u);
    EXPECT_EQ(trouvees[0].x0, 20);
    EXPECT_GT(CompteNoirs(bande, 200, 60, 228, 70), 0);
}

// Two heads side by side (a second in a chord) make a blob as wide as a
// short beam but an interline thick; stems close by on one side. Two heads
// one above the other, a black one over the ring of an open one, make two
// runs as thin as beams but twice as far apart as the beams of one stack.
TEST_F(Accroches, BlobAsThickAsAHeadIsNotABeam) {
    Pave(bande, 100, 140, 146, 160);
    Pave(bande, 100, 140, 102, 230);
    Pave(bande, 144, 140, 146, 230);
    Pave(bande, 250, 40, 302, 51);
    Pave(bande, 250, 65, 302, 76);
    Pave(bande, 250, 40, 252, 140);
    Pave(bande, 300, 40, 302, 140);
    Offscreen avant = Copie(bande);
    Recherche();
    EXPECT_TRUE(trouvees.empty());
    EXPECT_EQ(bande->pixels, avant->pixels);
}

TEST_F(Accroches, GentleSlopeIsABeam) {
    for (int x = 100; x < 252; ++x)
        Pave(bande, x, 40 + (x - 100) * 3 / 10, x + 1, 50 + (x - 100) * 3 / 10);
    TigeMontante(100, 40, 150);
    TigeMontante(175, 62, 150);
    TigeMontante(250, 85, 150);
    const auto tiges = Tiges(Recherche(), 120);
    ASSERT_EQ(trouvees.size(), 1u);
    ASSERT_EQ(tiges.size(), 3u);
    for (const LigneVert& t : tiges) EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
}

// A dotted eighth and a sixteenth, stems down: a steep beam with a short
// second one on its inner side at the sixteenth's end. Where the short one
// starts, the edge jumps from beam to beam: no part of the slope.
TEST_F(Accroches, SteepBeamWithAShortSecondBeam) {
    const int gauche = 100, droite = 180;
    auto haut = [](int x) { return 120 + (x - gauche) * 7 / 20; };
    for (int x = gauche; x <= droite + 2; ++x)
        Pave(bande, x, haut(x), x + 1, haut(x) + kEpaisseurBarre);
    for (int x = 150; x <= droite + 2; ++x)
        Pave(bande, x, haut(x) - 16, x + 1, haut(x) - 16 + kEpaisseurBarre);
    Tete(bande, gauche + 13, 40, kS);
    Pave(bande, gauche, 40, gauche + 2, haut(gauche) + kEpaisseurBarre);
    Tete(bande, droite + 13, 60, kS);
    Pave(bande, droite, 60, droite + 2, haut(droite) + kEpaisseurBarre);
    const auto l = Recherche();
    ASSERT_EQ(trouvees.size(), 1u);
    for (const LigneVert& t : l) EXPECT_EQ(t.NbAccroches, t.PosX < 150 ? 1 : 2) << t.PosX;
}

// Sixteenth, eighth, sixteenth: the second beam is two short ones, the
// first ending a third of an interline before the eighth's stem. The
// eighth keeps one beam.
TEST_F(Accroches, EighthBetweenTwoSixteenthsKeepsOneBeam) {
    for (int x : {100, 150, 230}) TigeMontante(x, 40, 140);
    Barre(100, 232, 40);
    Pave(bande, 100, 56, 143, 56 + kEpaisseurBarre);
    Pave(bande, 206, 56, 232, 56 + kEpaisseurBarre);
    const auto tiges = Tiges(Recherche());
    ASSERT_EQ(tiges.size(), 3u);
    EXPECT_EQ(tiges[0].NbAccroches, 2);
    EXPECT_EQ(tiges[1].NbAccroches, 1);
    EXPECT_EQ(tiges[2].NbAccroches, 2);
}

// A stem between two beams: the one from above traced first, then a
// double or single one below it.
void DeuxAccroches(Offscreen bande, int barresDessous) {
    for (int x : {100, 150}) {
        Tete(bande, x + 13, 20, kS);
        Pave(bande, x, 20, x + 2, 40);
    }
    Pave(bande, 100, 40, 200, 40 + kEpaisseurBarre);
    Pave(bande, 198, 40, 200, 110);  // hangs from the upper beam, rises to the lower
    for (int b = 0; b < barresDessous; ++b) Pave(bande, 196, 100 + 16 * b, 302, 110 + 16 * b);
    for (int x : {250, 300}) {
        Pave(bande, x, 100, x + 2, 200);
        Tete(bande, x - 11, 200, kS);
    }
}

TEST_F(Accroches, StemTouchedByTwoBeamsKeepsTheOneWithMoreBeams) {
    DeuxAccroches(bande, 2);
    const auto l = Recherche();
    ASSERT_EQ(trouvees.size(), 2u);
    int vues = 0;
    for (const LigneVert& t : l) {
        if (t.PosX != 198) continue;
        ++vues;
        EXPECT_EQ(t.NbAccroches, 2);
        EXPECT_EQ(t.NumAccroche, 2);
    }
    EXPECT_EQ(vues, 1);
}

TEST_F(Accroches, StemTouchedByTwoSingleBeamsKeepsTheFirst) {
    DeuxAccroches(bande, 1);
    const auto l = Recherche();
    ASSERT_EQ(trouvees.size(), 2u);
    for (const LigneVert& t : l) {
        if (t.PosX != 198) continue;
        EXPECT_EQ(t.NbAccroches, 1);
        EXPECT_EQ(t.NumAccroche, 1);
    }
}

TEST_F(Accroches, HeadUnderTheEndStemDoesNotAddABeam) {
    TigeMontante(100, 40, 72);  // short stem: its head is close under the beam
    for (int x : {150, 200, 250}) TigeMontante(x, 40, 140);
    Barre(100, 252, 40);
    const auto tiges = Tiges(Recherche(), 60);
    ASSERT_EQ(trouvees.size(), 1u);
    ASSERT_EQ(tiges.size(), 4u);
    for (const LigneVert& t : tiges) EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
}

// Sixteenths whose middle note is a chord, one head of which stands less
// than half an interline from the beams, on the stems' side: above the
// stack when the stems hang down, under it when they rise. That head is
// neither one more beam on the chord's stem nor a place where the trace
// leaves the beams and dies before the last stem; it stays in the band.
TEST_F(Accroches, ChordHeadCloseToTheBeamsIsNoBeam) {
    // Stems down: two beams at rows 134 .. 160, the chord's lower head on
    // rows 106 .. 126.
    for (int x : {30, 80, 130}) {
        Tete(bande, x + 13, x == 80 ? 30 : 60, kS);
        Pave(bande, x, x == 80 ? 30 : 60, x + 2, 160);
    }
    Tete(bande, 93, 116, kS);
    Barre(30, 132, 150);
    Barre(30, 132, 134);
    // Stems up: two beams at rows 40 .. 66, the chord's upper head on rows
    // 74 .. 94.
    for (int x : {250, 300, 350}) TigeMontante(x, 40, x == 300 ? 200 : 150);
    Tete(bande, 289, 84, kS);
    Barre(250, 352, 40);
    Barre(250, 352, 56);
    const auto l = Recherche();
    ASSERT_EQ(trouvees.size(), 2u);
    int tiges = 0;
    for (const LigneVert& t : l) {
        if (t.Longueur < 3 * kS) continue;
        ++tiges;
        EXPECT_EQ(t.NbAccroches, 2) << t.PosX;
    }
    EXPECT_EQ(tiges, 6);
    EXPECT_GT(CompteNoirs(bande, 82, 106, 106, 126), 300);
    EXPECT_GT(CompteNoirs(bande, 278, 74, 302, 94), 300);
}

// A tight layout: a bar line from the top staff line to the bottom one
// stands half an interline left of the first stem of a beam hanging below
// the staff. The beam's end has its stem; the bar line gets no beam, or a
// head would take it for its stem and the bar would be lost.
TEST_F(Accroches, BarLineBesideTheEndStemGetsNoBeam) {
    for (int x : {100, 150, 200}) {
        Tete(bande, x + 13, 100, kS);
        Pave(bande, x, 100, x + 2, 180);
    }
    Barre(100, 202, 170);
    Pave(bande, 89, 80, 91, 160);
    const auto l = Recherche();
    ASSERT_EQ(trouvees.size(), 1u);
    int barres = 0;
    for (const LigneVert& t : l) {
        if (t.PosX < 95) {
            ++barres;
            EXPECT_EQ(t.NbAccroches, 0) << t.PosX;
        } else {
            EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
        }
    }
    EXPECT_EQ(barres, 1);
}

TEST_F(Accroches, BeamRunningToTheRightEdge) {
    for (int x : {300, 350, 398}) TigeMontante(x, 40, 140);
    Barre(300, kL, 40);
    const auto tiges = Tiges(Recherche());
    ASSERT_EQ(trouvees.size(), 1u);
    ASSERT_EQ(tiges.size(), 3u);
    for (const LigneVert& t : tiges) EXPECT_EQ(t.NbAccroches, 1) << t.PosX;
    EXPECT_EQ(CompteNoirs(bande, 300, 30, kL, 52), 0);
}

TEST_F(Accroches, NumbersRestartOnEachStaffAndFollowTheScan) {
    for (int x : {50, 100}) TigeMontante(x, 40, 140);
    Barre(50, 102, 40);
    for (int x : {250, 300}) TigeMontante(x, 40, 140);
    Barre(250, 302, 40);
    Recherche();
    ASSERT_EQ(trouvees.size(), 2u);
    EXPECT_EQ(trouvees[1].numero, 2);
    trouvees.clear();
    Barre(50, 102, 40);
    Barre(250, 302, 40);
    Courante().LignesVert.clear();
    ASSERT_TRUE(RechercheLignesVert(etat, ReglagesCourants()));
    ASSERT_TRUE(RechercheAccrochesDecrites(etat, ReglagesCourants(), &trouvees));
    ASSERT_EQ(trouvees.size(), 2u);
    EXPECT_EQ(trouvees[0].numero, 1);
}

TEST(MasqueAccroches, KeepsOnlyPlacesThickAndWideEnough) {
    Offscreen b = CreeOffscreen(40, 20);
    Pave(b, 0, 0, 40, 3);    // thin line
    Pave(b, 5, 8, 7, 20);    // thin stem
    Pave(b, 20, 8, 40, 14);  // bar to the right edge
    Offscreen m = CreeMasqueAccroches(b, 9, 6);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(CompteNoirs(m, 0, 0, 40, 8), 0);
    EXPECT_EQ(CompteNoirs(m, 0, 8, 20, 20), 0);
    EXPECT_EQ(CompteNoirs(m, 20, 8, 40, 9), 20);  // the right edge passes the width test
    EXPECT_EQ(CompteNoirs(m, 20, 9, 40, 20), 0);
    DisposeOffscreen(m);
    // Counts of zero or less test nothing: every black pixel stays, and
    // nothing white turns black.
    m = CreeMasqueAccroches(b, 0, -1);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->pixels, b->pixels);
    DisposeOffscreen(m);
    DisposeOffscreen(b);
}

}  // namespace
}  // namespace essai
