#include <gtest/gtest.h>

#include "band_drawing.h"
#include "records/catalogue.h"
#include "symbols/matchers.h"
#include "symbols/matchers_internal.h"

namespace {

int Score(EtatPage& etat, Graphe& g, float s, uint16_t code, Point& p) {
    RouvreGraphe(g, 1);
    return ScoreCaractere(etat, g, s, code, p);
}

}  // namespace

TEST(ReconnaitProfil, DrawnCommonAndCutTimeOnTheirOwnInk) {
    const float s = 20;
    const int T = 40;
    BandeMatchers bande(300, 200, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("timesig.C44", 20, T + 2 * s));
    ASSERT_TRUE(bande.Glyphe("timesig.C22", 150, T + 2 * s));
    const Rect signe = bande.CadreGlyphe();
    // A small mark under the staff, left of the sign (a tuplet's digit).
    bande.Rectangle(T + 5.5f * s, 140, T + 6.2f * s, 150);
    ASSERT_EQ(bande.Construit(), 3);
    Point p;
    const int c = Score(etat, etat.Graphes[0], s, kCarC, p);
    EXPECT_GE(c, 600);
    EXPECT_NEAR(p.v, T + 2 * s, 3);
    Graphe* barre = bande.GrapheEn(signe.left + 5, T + 2 * s);
    ASSERT_NE(barre, nullptr);
    const int cb = Score(etat, *barre, s, kCarCBarre, p);
    EXPECT_GE(cb, 600);
    // Each sign prefers its own templates (the cut-time box fails the common-time gate).
    EXPECT_LT(Score(etat, *barre, s, kCarC, p), cb);
    // The mark reaches no part of the staff a sign fills: the sign beside
    // it is not its reading.
    Graphe* marque = bande.GrapheEn(145, static_cast<int>(T + 5.8f * s));
    ASSERT_NE(marque, nullptr);
    EXPECT_EQ(Score(etat, *marque, s, kCarCBarre, p), 0);
}

TEST(ReconnaitCleSol, DrawnClefsScoreTheirOwnCode) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(400, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("clefs.G", 20, T + 3 * s));
    ASSERT_TRUE(bande.Glyphe("clefs.F", 200, T + s));
    const Rect fa = bande.CadreGlyphe();
    ASSERT_EQ(bande.Construit(), 4);  // the F clef's two dots are components of their own
    Graphe* sol = bande.GrapheEn(30, T + 3 * s);
    Graphe* courbe = bande.GrapheEn(fa.left + 5, T + s);
    ASSERT_TRUE(sol && courbe);
    Point p;
    EXPECT_GT(Score(etat, *sol, s, kCarCleSol, p), 500);  // above the clef threshold
    EXPECT_EQ(p.h, sol->Cadre.left);
    EXPECT_EQ(Score(etat, *sol, s, kCarCleFa, p), 0);  // too high for an F clef
    const int scoreFa = Score(etat, *courbe, s, kCarCleFa, p);
    EXPECT_GE(scoreFa, 500);
    EXPECT_EQ(p.v, static_cast<int>(T + 4 * s));
    EXPECT_EQ(Score(etat, *courbe, s, kCarCleSol, p), 0);
}

// The C clef is read from its thick bar; a start-repeat bar, thick and thin
// with its two dots, is no C clef.
TEST(ReconnaitCleUt, DrawnClefAgainstARepeatBar) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(400, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("clefs.C", 20, T + 2 * s));
    bande.Rectangle(T, 200, T + 4 * s + 1, 209);
    bande.Rectangle(T, 213, T + 4 * s + 1, 215);
    for (int y : {T + 25, T + 55}) bande.Rectangle(y, 221, y + 9, 230);
    ASSERT_EQ(bande.Construit(), 6);
    Point p;
    Graphe* barre = bande.GrapheEn(bande.CadreGlyphe().left + 2, T + 2 * s);
    ASSERT_TRUE(barre);
    EXPECT_GT(Score(etat, *barre, s, kCarCleUt, p), 500);
    EXPECT_NEAR(p.v, T + 2 * s, 3);
    EXPECT_LT(Score(etat, *bande.GrapheEn(204, T + 2 * s), s, kCarCleUt, p), 500);
}

// A C clef stands on any line, soprano (the bottom one) to baritone (the
// top one): its bar is centred on that line, where it is read.
TEST(ReconnaitCleUt, DrawnClefOnEveryLine) {
    const float s = 20;
    const int T = 60;
    for (int ligne = 1; ligne <= 5; ++ligne) {
        BandeMatchers bande(200, 260, s, T);
        const int centre = static_cast<int>(T + (5 - ligne) * s);
        ASSERT_TRUE(bande.Glyphe("clefs.C", 20, centre));
        ASSERT_GE(bande.Construit(), 1);
        Graphe* barre = bande.GrapheEn(bande.CadreGlyphe().left + 2, centre);
        ASSERT_TRUE(barre);
        Point p;
        EXPECT_GT(Score(bande.etat, *barre, s, kCarCleUt, p), 500) << ligne;
        EXPECT_NEAR(p.v, centre, 3) << ligne;
    }
}
