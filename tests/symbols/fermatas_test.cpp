#include "symbols/fermatas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "band_fixture.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "symbols/ties.h"

namespace {

// A band of interline 20 with its top line at row 80 (the staff runs to row
// 160). The fermatas drawn are the size the engravers print them: two and a
// half interlines wide, one and a half tall, the crown 0.4 interline thick.
class PointsDOrgueTest : public ::testing::Test {
  protected:
    BandeTest bande{500, 260, 20, 80};
    EtatPage& etat = bande.etat;

    void SetUp() override { RegleOptionsParDefaut(Options); }
    void TearDown() override { RegleOptionsParDefaut(Options); }

    // A half ring centred on column cx whose open side lies on row `base`:
    // above it (upright) or below it (inverted).
    void Arc(int cx, int base, bool renverse, int rx = 25, int ry = 30) {
        const float ix = rx - 4.0f, iy = ry - 8.0f;
        for (int dy = 0; dy <= ry; ++dy)
            for (int dx = -rx; dx <= rx; ++dx) {
                const float ex = static_cast<float>(dx), ey = static_cast<float>(dy);
                const bool dehors = (ex * ex) / (ix * ix) + (ey * ey) / (iy * iy) > 1.0f;
                if ((ex * ex) / (rx * rx) + (ey * ey) / (ry * ry) <= 1.0f && dehors)
                    bande.Pixel(cx + dx, renverse ? base + dy : base - dy);
            }
    }
    void Point(int cx, int cy, int r = 5) {
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) bande.Pixel(x, y);
    }
    void Note(int x, int y, bool silence = false) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        n.PosY = static_cast<int16_t>(y);
        n.Silence = silence ? 1 : 0;
        etat.Courante().Symboles.push_back(n);
    }
    bool Cherche() {
        // A test may search twice: the band of the first search goes.
        if (etat.PorteeImageIntacte) DisposeOffscreen(etat.PorteeImageIntacte);
        etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
        return RechercheLiaisons(etat, ReglagesCourants());
    }
    int Noirs(int x0, int y0, int x1, int y1) {
        const VuePixels base = VueOffscreen(etat.PorteeImage);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += EstNoir(base, x, y);
        return n;
    }
    int NbPointsDOrgue() {
        int n = 0;
        for (const Liaison& l : etat.Courante().Liaisons) n += l.Genre == kGenrePointDOrgue;
        return n;
    }
    const NotePortee& N(int i) { return etat.Courante().Symboles.at(i); }
};

}  // namespace

// An upright fermata over a chord and an inverted one under a rest: both
// are erased with their dots and go to the head nearest them, not to the
// notes beside.
TEST_F(PointsDOrgueTest, FermatasAreErasedAndGoToTheNoteTheyStandOver) {
    Arc(150, 70, false);
    Point(150, 64);
    Arc(350, 175, true);
    Point(350, 181);
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(etat.Courante().Liaisons.size(), 2u);
    const Liaison& haut = etat.Courante().Liaisons[0];
    EXPECT_EQ(haut.Genre, kGenrePointDOrgue);
    EXPECT_EQ(haut.AuDessus, 1);
    EXPECT_EQ(haut.PosXDebut, 125);
    EXPECT_EQ(haut.PosXFin, 176);
    EXPECT_EQ(etat.Courante().Liaisons[1].Genre, kGenrePointDOrgue);
    EXPECT_EQ(etat.Courante().Liaisons[1].AuDessus, 0);
    EXPECT_EQ(Noirs(0, 0, 500, 260), 0);

    Note(100, 130);        // 0: the note before, too far left
    Note(138, 130);        // 1: the chord's lower head
    Note(138, 100);        // 2: its upper head, under the fermata
    Note(200, 110);        // 3: the note after
    Note(338, 140, true);  // 4: the rest under the inverted fermata
    Note(338, 200);        // 5: a head below the inverted fermata: the wrong side
    ASSERT_TRUE(AttacheLiaisons(etat));
    EXPECT_EQ(N(2).PointDOrgue, 1);
    EXPECT_EQ(N(4).PointDOrgue, 2);
    for (int i : {0, 1, 3, 5}) EXPECT_EQ(N(i).PointDOrgue, 0) << i;
    // A fermata is no tie: it numbers nothing.
    EXPECT_EQ(etat.NumeroLiaison, 1);
}

// What only looks like one stays on the band: an arc without its dot, a dot
// off the arc's middle, a filled dome, a flat slur over a staccato dot, and
// a fermata-shaped sign inside the staff. With the ornaments off, fermatas
// are not looked for.
TEST_F(PointsDOrgueTest, OnlyAnArcWithItsDotCentredUnderItIsAFermata) {
    Arc(60, 70, false);
    Arc(160, 70, false);
    Point(172, 64);
    for (int dy = 0; dy <= 30; ++dy)  // a filled dome
        for (int dx = -25; dx <= 25; ++dx)
            if (dx * dx / 625.0 + dy * dy / 900.0 <= 1.0) bande.Pixel(260 + dx, 70 - dy);
    Arc(400, 70, false, 60, 12);  // a slur five interlines wide
    Point(400, 62);
    Arc(470, 150, false, 22, 26);  // between the lines
    Point(470, 145);
    const OctetsPixels avant = etat.PorteeImage->pixels;
    ASSERT_TRUE(Cherche());
    EXPECT_EQ(NbPointsDOrgue(), 0);
    EXPECT_GT(Noirs(150, 55, 180, 75), 0);  // the off-centre dot stays

    LibereLiaisons(etat.Courante());
    etat.PorteeImage->pixels = avant;
    Arc(350, 220, true);
    Point(350, 226);
    Options.AutoriserEffets = 0;
    ASSERT_TRUE(Cherche());
    EXPECT_EQ(NbPointsDOrgue(), 0);
    EXPECT_GT(Noirs(340, 220, 360, 235), 0);
}
