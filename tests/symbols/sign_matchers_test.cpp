// Accidentals, dots, rests and ornaments drawn with the music font: each
// sign scores its own code above the stage thresholds and above its rivals.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "band_drawing.h"
#include "records/catalogue.h"
#include "symbols/matchers.h"

namespace {

int Meilleur(EtatPage& etat, Graphe& g, float s, uint16_t code, Point* position = nullptr) {
    RouvreGraphe(g, 1);
    Point p;
    const int score = ScoreCaractere(etat, g, s, code, p);
    if (position) *position = p;
    return score;
}

struct Cas {
    const char* glyphe;
    double ligne;  // baseline row, in interlines below the top line
    uint16_t code;
    int minimum;
};

// Scores of the sign for every code of its family.
void VerifieFamille(const Cas& cas, std::initializer_list<uint16_t> famille) {
    const float s = 20;
    const int T = 80;
    BandeMatchers bande(200, 320, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe(cas.glyphe, 50, static_cast<int>(T + cas.ligne * s))) << cas.glyphe;
    ASSERT_EQ(bande.Construit(), 1) << cas.glyphe;
    const int propre = Meilleur(etat, etat.Graphes[0], s, cas.code);
    EXPECT_GT(propre, cas.minimum) << cas.glyphe;
    for (uint16_t autre : famille) {
        if (autre != cas.code) {
            EXPECT_LT(Meilleur(etat, etat.Graphes[0], s, autre), propre)
                << cas.glyphe << " as " << autre;
        }
    }
}

}  // namespace

TEST(SignMatchers, AccidentalsAndDot) {
    const auto famille = {kCarDiese,      kCarBemol,      kCarBecarre,     kCarPointe,
                          kCarPetitDiese, kCarPetitBemol, kCarPetitBecarre};
    VerifieFamille({"accidentals.sharp", 2, kCarDiese, 400}, famille);
    VerifieFamille({"accidentals.flat", 2, kCarBemol, 400}, famille);
    VerifieFamille({"accidentals.natural", 2, kCarBecarre, 400}, famille);
    VerifieFamille({"dots.dot", 2, kCarPointe, 400}, famille);
}

// In a tight chord a dot may stand in the columns of the chord's box, beside
// heads at other rows: the chord is no piece of the dot.
TEST(SignMatchers, DotBesideAChord) {
    const float s = 20;
    const int T = 80;
    BandeMatchers bande(200, 320, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 50, T + 2 * s));
    const Rect tete = bande.CadreGlyphe();
    bande.Rectangle(T - s, tete.left, T + 2 * s, tete.left + 2);
    bande.Rectangle(T - s / 2 - 4, tete.right - 6, T - s / 2 + 4, tete.right + 3);
    ASSERT_EQ(bande.Construit(), 2);
    Graphe* point = bande.GrapheEn(tete.right + 1, T - s / 2);
    ASSERT_TRUE(point);
    EXPECT_GT(Meilleur(etat, *point, s, kCarPointe), 400);
}

TEST(SignMatchers, RestsOnTheirLines) {
    const auto famille = {kCarSoupir, kCarDemiSoupir, kCarPause, kCarDemiPause};
    VerifieFamille({"rests.2", 2, kCarSoupir, 480}, famille);
    VerifieFamille({"rests.3", 2, kCarDemiSoupir, 400}, famille);
    VerifieFamille({"rests.0", 1, kCarPause, 400}, famille);
    VerifieFamille({"rests.1", 2, kCarDemiPause, 400}, famille);
    // Rests with hooks are told apart by their number of hooks.
    const auto crochets = {kCarDemiSoupir, kCarQuartSoupir, kCarHuitiemeSoupir, kCarSeiziemeSoupir};
    VerifieFamille({"rests.4", 2, kCarQuartSoupir, 400}, crochets);
    VerifieFamille({"rests.5", 2, kCarHuitiemeSoupir, 400}, crochets);
    // A whole rest hanging from the wrong line is not one.
    const float s = 20;
    BandeMatchers bande(200, 320, s, 80);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("rests.0", 50, static_cast<int>(80 + 3 * s)));
    ASSERT_EQ(bande.Construit(), 1);
    EXPECT_EQ(Meilleur(etat, etat.Graphes[0], s, kCarPause), 0);
}

// Quarter rests cut from real pages, staff lines removed, with a slur
// touching or crossing them: the slur is no part of the rest's outline, so
// the rest scores as a clean one does.
TEST(SignMatchers, QuarterRestTouchedByASlur) {
    const float s = 21;
    BandeMatchers bande(80, 120, s, 26);
    EtatPage& etat = bande.etat;
    ASSERT_GT(bande.Coupe("quarter_rest_slur_musescore"), 0);
    Graphe* silence = bande.GrapheEn(35, 65);
    ASSERT_TRUE(silence);
    ASSERT_GT(silence->Largeur(), 2 * s);  // the slur is part of the component
    Point position;
    const int score = Meilleur(etat, *silence, s, kCarSoupir, &position);
    EXPECT_GT(score, 600);
    EXPECT_NEAR(position.h, 31, 4);  // the rest's centre, not the slur's
    for (uint16_t autre : {kCarDemiSoupir, kCarQuartSoupir, kCarPause, kCarDemiPause})
        EXPECT_LT(Meilleur(etat, *silence, s, autre), score) << autre;

    // Here a slur crosses the rest and joins it to the notes on both sides.
    const float sv = 21.49f;
    BandeMatchers croisee(300, 120, sv, 28);
    ASSERT_GT(croisee.Coupe("quarter_rest_slur_verovio"), 0);
    Graphe* lie = croisee.GrapheEn(160, 60);
    ASSERT_TRUE(lie);
    ASSERT_GT(lie->Largeur(), 8 * sv);
    EXPECT_GT(Meilleur(croisee.etat, *lie, sv, kCarSoupir, &position), 600);
    EXPECT_NEAR(position.h, 160, 4);
}

// Cut from a real page, staff lines removed: a long slur runs through the
// dot of a dotted eighth and joins it, the heads and the stems it touches
// into one component. The dot is found on the slur, and nothing else is: not
// the heads, the stems or the slur's ends.
TEST(SignMatchers, DotOnASlur) {
    const float s = 21.49f;
    BandeMatchers bande(200, 140, s, 9);
    EtatPage& etat = bande.etat;
    ASSERT_GT(bande.Coupe("dot_slur_verovio"), 0);
    Graphe* slur = bande.GrapheEn(80, 63);
    ASSERT_TRUE(slur);
    ASSERT_GT(slur->Largeur(), 6 * s);
    std::vector<Point> points;
    RouvreGraphe(*slur, 1);
    for (int n = 0; n < 10 && slur->Ouvert; ++n) {
        Point p;
        if (ScoreCaractere(etat, *slur, s, kCarPointe, p) > 400) points.push_back(p);
    }
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].h, 80, 3);
    EXPECT_NEAR(points[0].v, 63, 3);

    // A slur crossing a stem where line removal left a piece of the top line
    // beside it: the stroke thickens there, but no more than a little.
    BandeMatchers tige(200, 140, 21.24f, 62);
    ASSERT_GT(tige.Coupe("slur_stem_verovio"), 0);
    Graphe* croise = tige.GrapheEn(53, 100);
    ASSERT_TRUE(croise);
    ASSERT_GT(croise->Largeur(), 4 * s);
    EXPECT_EQ(Meilleur(tige.etat, *croise, 21.24f, kCarPointe), 0);
}

// Cut from real pages, staff lines removed. Two voices on a piano staff:
// the upper voice's 16th rest stands above the staff and the lower voice's
// below it, out of the other voice's way; both are read. The 6 of a tempo
// mark above a staff and a triplet's 3 below one have the rest's hook or
// stroke, but are no rests.
TEST(SignMatchers, RestsMovedOffTheStaffButNotDigits) {
    const float s = 15.5f;
    BandeMatchers voix(130, 230, s, 43);
    ASSERT_GT(voix.Coupe("two_voice_rests_musescore"), 0);
    for (const auto& [x, y] : {std::pair{23, 37}, std::pair{99, 144}}) {
        Graphe* silence = voix.GrapheEn(x, y);
        ASSERT_TRUE(silence) << y;
        EXPECT_GT(Meilleur(voix.etat, *silence, s, kCarQuartSoupir), 700) << y;
        EXPECT_EQ(Meilleur(voix.etat, *silence, s, kCarDemiSoupir), 0) << y;
    }

    const float sl = 20.75f;
    BandeMatchers tempo(120, 220, sl, 85);
    ASSERT_GT(tempo.Coupe("tempo_mark_lilypond"), 0);
    Graphe* six = tempo.GrapheEn(73, 50);
    ASSERT_TRUE(six);
    for (uint16_t code : {kCarDemiSoupir, kCarQuartSoupir})
        EXPECT_EQ(Meilleur(tempo.etat, *six, sl, code), 0) << code;

    BandeMatchers triolet(50, 200, sl, 25);
    ASSERT_GT(triolet.Coupe("tuplet_three_musescore"), 0);
    Graphe* trois = triolet.GrapheEn(22, 149);
    ASSERT_TRUE(trois);
    EXPECT_EQ(Meilleur(triolet.etat, *trois, sl, kCarDemiSoupir), 0);
}

// 16th rests cut from real pages with the staff lines removed. The big
// hooks of a large staff meet the stroke in thick rows of their own, which
// do not make them rests of more hooks; in the second, the stroke's longest
// straight piece is its lower half, and the upper hook is still left of it;
// in the third, that piece is the upper part, and the slanting stroke below
// it, left of its top, is no hook.
TEST(SignMatchers, HooksOfLargeSixteenthRestsNotOfAQuarterRest) {
    const struct {
        const char* fichier;
        float s;
        int largeur, hauteur, ligneHaut, x, y;
    } cas[] = {{"sixteenth_rest_verovio", 21.25f, 45, 140, 24, 22, 80},
               {"sixteenth_rest_split_verovio", 21.22f, 45, 120, 18, 24, 74},
               {"sixteenth_rest_musescore", 20.0f, 45, 140, 24, 22, 76}};
    for (const auto& c : cas) {
        BandeMatchers bande(c.largeur, c.hauteur, c.s, c.ligneHaut);
        ASSERT_GT(bande.Coupe(c.fichier), 0) << c.fichier;
        Graphe* silence = bande.GrapheEn(c.x, c.y);
        ASSERT_TRUE(silence) << c.fichier;
        const int score = Meilleur(bande.etat, *silence, c.s, kCarQuartSoupir);
        EXPECT_GT(score, 400) << c.fichier;  // the note threshold
        for (uint16_t autre : {kCarDemiSoupir, kCarHuitiemeSoupir, kCarSeiziemeSoupir})
            EXPECT_LT(Meilleur(bande.etat, *silence, c.s, autre), score) << c.fichier << autre;
    }
    // A quarter rest's zigzag has short steep pieces: carried far along their
    // slant, they would leave its bends left of a stroke, as hooks.
    const float s = 20.75f;
    BandeMatchers soupir(50, 140, s, 24);
    ASSERT_GT(soupir.Coupe("quarter_rest_musescore"), 0);
    Graphe* g = soupir.GrapheEn(25, 62);
    ASSERT_TRUE(g);
    const int score = Meilleur(soupir.etat, *g, s, kCarSoupir);
    EXPECT_GT(score, 600);
    for (uint16_t autre : {kCarDemiSoupir, kCarQuartSoupir})
        EXPECT_LT(Meilleur(soupir.etat, *g, s, autre), score) << autre;
}

TEST(SignMatchers, TrillAboveTheStaffOnly) {
    const float s = 20;
    for (int ligne : {-2, 2}) {
        BandeMatchers bande(200, 320, s, 120);
        EtatPage& etat = bande.etat;
        ASSERT_TRUE(bande.Glyphe("scripts.trill", 50, 120 + ligne * static_cast<int>(s)));
        ASSERT_GE(bande.Construit(), 1);
        Graphe* t = bande.GrapheEn(bande.CadreGlyphe().left + 2, bande.CadreGlyphe().top + 20);
        ASSERT_TRUE(t);
        const int score = Meilleur(etat, *t, s, kCarTrille);
        if (ligne < 0) {
            EXPECT_GT(score, 1000);  // two contour pairs, up to 2000
        } else {
            EXPECT_EQ(score, 0);  // inside the staff
        }
    }
}

// The mordents' width gates are narrow: the music font's upper mordent is
// two interlines wide, so one printed at 70% of the staff size is used.
TEST(SignMatchers, UpperMordentAtItsGateSize) {
    const float s = 20;
    BandeMatchers bande(200, 320, s, 120);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("scripts.prall", 50, 120 - 2 * static_cast<int>(s), 0.7));
    ASSERT_EQ(bande.Construit(), 1);
    Point p;
    EXPECT_GE(Meilleur(etat, etat.Graphes[0], s, kCarMordantSup, &p), 500);
    const Rect c = bande.CadreGlyphe();
    EXPECT_NEAR(p.h, (c.left + c.right) / 2, 2);
    EXPECT_EQ(Meilleur(etat, etat.Graphes[0], s, kCarDblMordantSup), 0);
}

// Letters of a word above the staff (a tempo mark) can have a mordent's
// size and edges; an ornament stands alone, a letter has neighbours a
// fraction of an interline away.
TEST(SignMatchers, AMordentStandsAloneALetterOfAWordDoesNot) {
    const float s = 20;
    for (int voisin : {0, 6, 30}) {  // columns clear left of the sign; 0: none
        BandeMatchers bande(200, 320, s, 120);
        EtatPage& etat = bande.etat;
        ASSERT_TRUE(bande.Glyphe("scripts.prall", 100, 120 - 2 * static_cast<int>(s), 0.7));
        const Rect c = bande.CadreGlyphe();
        if (voisin) bande.Rectangle(c.top, c.left - voisin - 12, c.bottom, c.left - voisin);
        ASSERT_EQ(bande.Construit(), voisin ? 2 : 1);
        const int score = Meilleur(etat, *bande.GrapheEn(c.right - 1, c.top), s, kCarMordantSup);
        if (voisin == 6) {
            EXPECT_EQ(score, 0);
        } else {
            EXPECT_GE(score, 500) << voisin;
        }
    }
}
