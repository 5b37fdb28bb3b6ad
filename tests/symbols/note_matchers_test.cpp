#include <gtest/gtest.h>

#include "band_drawing.h"
#include "records/catalogue.h"
#include "symbols/matchers.h"
#include "symbols/matchers_internal.h"

namespace {

// All the answers of one code on one component, as extraction asks them.
std::vector<std::pair<int, Point>> Reponses(EtatPage& etat, Graphe& g, float s, uint16_t code) {
    std::vector<std::pair<int, Point>> reponses;
    RouvreGraphe(g, 1);
    for (int i = 0; i < 20; ++i) {
        Point p;
        const int score = ScoreCaractere(etat, g, s, code, p);
        if (score == 0) break;
        reponses.push_back({score, p});
        if (!g.Ouvert) break;
    }
    return reponses;
}

}  // namespace

TEST(ReconnaitRonde, ThreeNoteChordGivesThreeCandidates) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(200, 260, s, T);
    EtatPage& etat = bande.etat;
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(bande.Glyphe("noteheads.s0", 50, T + 2 * s + k * s));
    ASSERT_EQ(bande.Construit(), 1);
    const auto reponses = Reponses(etat, etat.Graphes[0], s, kCarRonde);
    ASSERT_EQ(reponses.size(), 3u);
    std::vector<int> lignes;
    for (const auto& [score, p] : reponses) {
        EXPECT_EQ(score, 501);
        lignes.push_back(p.v);
    }
    std::sort(lignes.begin(), lignes.end());
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(lignes[k], T + 2 * s + k * s, 3);
}

// Neither a filled head nor a hollow one the band's top edge cuts (a note
// of the staff above, its stem beyond the edge) is a whole note.
TEST(ReconnaitRonde, LoneWholeNoteAndNeitherAFilledHeadNorOneCutByTheBandEdge) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(300, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("noteheads.s0", 50, T + 2 * s));
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 150, T + 2 * s));
    ASSERT_TRUE(bande.Glyphe("noteheads.s0", 220, 6));
    ASSERT_EQ(bande.Construit(), 3);
    EXPECT_EQ(Reponses(etat, *bande.GrapheEn(55, T + 2 * s), s, kCarRonde).size(), 1u);
    EXPECT_TRUE(Reponses(etat, *bande.GrapheEn(155, T + 2 * s), s, kCarRonde).empty());
    Graphe* coupee = bande.GrapheEn(bande.CadreGlyphe().left + 3, 2);
    ASSERT_NE(coupee, nullptr);
    EXPECT_TRUE(Reponses(etat, *coupee, s, kCarRonde).empty());
}

TEST(TrouveTrous, EnclosedWhiteOfARing) {
    BandeMatchers bande(100, 100, 10, 30);
    EtatPage& etat = bande.etat;
    bande.Rectangle(20, 20, 34, 36);
    for (int y = 23; y < 31; ++y) {
        for (int x = 24; x < 32; ++x)
            bande.Bitmap()->pixels[y * bande.Bitmap()->pasLigne + x] = IndexBlanc;
    }
    ASSERT_EQ(bande.Construit(), 1);
    std::vector<Trou> trous;
    ASSERT_EQ(TrouveTrous(etat.Graphes[0], 10, trous, ModeTrous::Entier), 1);
    EXPECT_EQ(trous[0].PremiereColonne, 24);
    EXPECT_EQ(trous[0].DerniereColonne, 31);
    EXPECT_EQ(trous[0].PremiereLigne, 3);
    EXPECT_EQ(trous[0].DerniereLigne, 10);
    // An open cup has white between its sides but no ink below the white.
    BandeMatchers coupe(100, 100, 10, 30);
    coupe.Rectangle(20, 20, 34, 24);
    coupe.Rectangle(20, 32, 34, 36);
    coupe.Rectangle(20, 24, 23, 32);
    ASSERT_EQ(coupe.Construit(), 1);
    EXPECT_EQ(TrouveTrous(coupe.etat.Graphes[0], 10, trous, ModeTrous::Entier), 0);
}

namespace {

// A black head with an up stem of `tige` rows and, when named, a flag at
// the stem's end; the flag's top is the stem's top, as engravers draw it.
void NoteMontante(BandeMatchers& b, int x, int y, int tige, const char* drapeau) {
    b.Glyphe("noteheads.s2", x, y);
    const Rect tete = b.CadreGlyphe();
    int haut = y - tige;
    if (drapeau) {
        b.Glyphe(drapeau, tete.right - 2, y - tige);
        haut = b.CadreGlyphe().top;
    }
    b.Rectangle(haut, tete.right - 2, y - 2, tete.right);
}

// The same with a down stem on the head's left; the flag's bottom is the
// stem's end.
void NoteDescendante(BandeMatchers& b, int x, int y, int tige, const char* drapeau) {
    b.Glyphe("noteheads.s2", x, y);
    const Rect tete = b.CadreGlyphe();
    int bas = y + tige;
    if (drapeau) {
        b.Glyphe(drapeau, tete.left, y + tige);
        bas = b.CadreGlyphe().bottom;
    }
    b.Rectangle(y + 2, tete.left, bas, tete.left + 2);
}

}  // namespace

TEST(ReconnaitNoire, TwoTouchingHeadsGiveTwoCandidatesLargerFirst) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(200, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 50, T + 2 * s));
    const Rect premiere = bande.CadreGlyphe();
    // The second head of a second interval, one step lower, on the other side.
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 50 + premiere.Largeur() - 10, T + 2 * s + s / 2, 0.9));
    ASSERT_EQ(bande.Construit(), 1);
    const auto reponses = Reponses(etat, etat.Graphes[0], s, kCarNoire);
    ASSERT_EQ(reponses.size(), 2u);
    EXPECT_GE(reponses[0].first, reponses[1].first);
    EXPECT_LT(reponses[0].second.h, reponses[1].second.h);  // the full-size head is the larger blob
    for (const auto& [score, p] : reponses) EXPECT_GT(score, 400);
}

TEST(ReconnaitBlanche, HalfNoteWithStemAndNotAFilledHead) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(300, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("noteheads.s1", 50, T + 3 * s));
    Rect tete = bande.CadreGlyphe();
    bande.Rectangle(T + 3 * s - 70, tete.right - 2, T + 3 * s - 2, tete.right);
    NoteMontante(bande, 150, T + 3 * s, 70, nullptr);
    ASSERT_EQ(bande.Construit(), 2);
    auto blanche = Reponses(etat, etat.Graphes[0], s, kCarBlanche);
    ASSERT_EQ(blanche.size(), 1u);
    EXPECT_GT(blanche[0].first, 800);
    EXPECT_NEAR(blanche[0].second.v, T + 3 * s, 3);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[1], s, kCarBlanche).empty());
    // And the black head is no half note but a black one.
    EXPECT_EQ(Reponses(etat, etat.Graphes[1], s, kCarNoire).size(), 1u);
}

// Each flag matcher answers only for its own number of flags: asked for one
// flag on a double flag it returns 0, and code 107 takes it.
TEST(ReconnaitCroche, CountsTheFlags) {
    const float s = 20;
    const int T = 100;
    const char* drapeaux[] = {"flags.u3", "flags.u4", "flags.u5", "flags.u6"};
    const uint16_t codes[] = {kCarCroche, kCarDoubleCroche, kCarTripleCroche, kCarQuadrupleCroche};
    for (int n = 0; n < 4; ++n) {
        BandeMatchers bande(200, 300, s, T);
        EtatPage& etat = bande.etat;
        // Engravers lengthen the stem for three flags and more.
        NoteMontante(bande, 50, T + 3 * s, 70 + std::max(0, n - 1) * 15, drapeaux[n]);
        ASSERT_EQ(bande.Construit(), 1);
        for (int m = 0; m < 4; ++m) {
            const auto reponses = Reponses(etat, etat.Graphes[0], s, codes[m]);
            if (m == n) {
                ASSERT_EQ(reponses.size(), 1u) << drapeaux[n];
                EXPECT_GT(reponses[0].first, 700) << drapeaux[n];  // above the flag threshold
            } else {
                EXPECT_TRUE(reponses.empty()) << drapeaux[n] << " asked for " << m + 1;
            }
        }
    }
}

// Flags hang from the stem's far end: the head's end is not read, so
// neither the head nor a ledger line through it counts as a flag.
TEST(ReconnaitCroche, DownStemsReadFromTheirFarEndOnly) {
    const float s = 20;
    const int T = 100;
    const uint16_t codes[] = {kCarCroche, kCarDoubleCroche};
    // A real one: the head's end of this down stem reads as two flags.
    BandeMatchers reelle(50, 150, 21.25f, 27);
    EtatPage& etat = reelle.etat;
    ASSERT_EQ(reelle.Coupe("down_flag_verovio"), 1);
    const auto croche = Reponses(etat, etat.Graphes[0], 21.25f, kCarCroche);
    ASSERT_EQ(croche.size(), 1u);
    EXPECT_GT(croche[0].first, 700);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[0], 21.25f, kCarDoubleCroche).empty());
    // A quarter note above the staff, on its ledger line.
    BandeMatchers bande(200, 300, s, T);
    NoteDescendante(bande, 50, 40, 70, nullptr);
    bande.Rectangle(38, 42, 42, 82);
    ASSERT_EQ(bande.Construit(), 1);
    for (uint16_t code : codes)
        EXPECT_TRUE(Reponses(bande.etat, bande.etat.Graphes[0], s, code).empty()) << code;
}

// Components cut from real pages, staff lines removed. On a short stem the
// second flag of a 16th ends in a hook that curls back towards the stem
// below it: the hook is no third flag. A flat's bowl also curls back, but
// closes against its stem: it is not a flag whose hook was dropped.
TEST(ReconnaitCroche, HookEndingTheLastFlagIsNoFlag) {
    const float s = 15.31f;
    BandeMatchers accord(53, 120, s, 31);
    ASSERT_EQ(accord.Coupe("sixteenth_chord_musescore"), 1);
    const auto double_ = Reponses(accord.etat, accord.etat.Graphes[0], s, kCarDoubleCroche);
    ASSERT_EQ(double_.size(), 1u);
    EXPECT_GT(double_[0].first, 700);
    for (uint16_t code : {kCarCroche, kCarTripleCroche, kCarQuadrupleCroche})
        EXPECT_TRUE(Reponses(accord.etat, accord.etat.Graphes[0], s, code).empty()) << code;

    const float sb = 20.82f;
    BandeMatchers bemol(34, 65, sb, 10);
    ASSERT_EQ(bemol.Coupe("flat_musescore"), 1);
    for (uint16_t code : {kCarCroche, kCarDoubleCroche}) {
        for (const auto& [score, p] : Reponses(bemol.etat, bemol.etat.Graphes[0], sb, code))
            EXPECT_LT(score, 700) << code;  // below the flag threshold
    }
}

TEST(ReconnaitAppogiature, SmallHeadWithStem) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(300, 260, s, T);
    EtatPage& etat = bande.etat;
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 50, T + 2 * s, 0.6));
    const Rect tete = bande.CadreGlyphe();
    bande.Rectangle(T + 2 * s - 45, tete.right - 2, T + 2 * s - 1, tete.right);
    NoteMontante(bande, 150, T + 3 * s, 70, nullptr);
    ASSERT_EQ(bande.Construit(), 2);
    const auto appo = Reponses(etat, etat.Graphes[0], s, kCarAppogiature);
    ASSERT_EQ(appo.size(), 1u);
    EXPECT_GT(appo[0].first, 500);
    EXPECT_NEAR(appo[0].second.v, T + 2 * s, 3);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[1], s, kCarAppogiature).empty());  // a full-size head
}

// The hollow a's of a tempo mark over a staff (cut from a real page, lines
// removed) are letters, not whole notes; a whole note clear of the staff
// keeps its sharp before it and its dot after it.
TEST(ReconnaitRonde, LettersOfAWordAreNoWholeNotes) {
    const float s = 21.25f;
    BandeMatchers mot(200, 120, s, 68);
    ASSERT_GT(mot.Coupe("tempo_word_verovio"), 5);
    for (Graphe& g : mot.etat.Graphes)
        EXPECT_TRUE(Reponses(mot.etat, g, s, kCarRonde).empty()) << g.Cadre.left;

    const float t = 20;
    const int T = 100;
    BandeMatchers bande(300, 260, t, T);
    const int y = static_cast<int>(T - 1.5f * t);
    ASSERT_TRUE(bande.Glyphe("accidentals.sharp", 50, y));
    ASSERT_TRUE(bande.Glyphe("noteheads.s0", 80, y));
    const Rect tete = bande.CadreGlyphe();
    ASSERT_TRUE(bande.Glyphe("dots.dot", tete.right + 6, y));
    ASSERT_EQ(bande.Construit(), 3);
    EXPECT_EQ(Reponses(bande.etat, bande.etat.Graphes[1], t, kCarRonde).size(), 1u);
}

// A head drawn a little larger than a grace note's, as one more or less
// pixel of a rendering makes it, is told from a note's by its stem: a short
// one is a grace note's (alone or under a chord), a long one a note's.
TEST(ReconnaitAppogiature, MidSizeHeadGoesByItsStem) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(400, 260, s, T);
    EtatPage& etat = bande.etat;
    const int y = T + 3 * s;
    const auto tete = [&](int x, int ligne, int tige, double echelle = 0.82) {
        ASSERT_TRUE(bande.Glyphe("noteheads.s2", x, ligne, echelle));
        const Rect cadre = bande.CadreGlyphe();
        if (tige > 0) bande.Rectangle(ligne - tige, cadre.right - 3, ligne - 1, cadre.right - 1);
    };
    tete(40, y, 45);
    tete(140, y, 80);
    tete(240, y, 0);
    tete(240, y - static_cast<int>(s), 45, 0.8);
    bande.Rectangle(y - static_cast<int>(s), bande.CadreGlyphe().right - 3, y - 1,
                    bande.CadreGlyphe().right - 1);
    ASSERT_EQ(bande.Construit(), 3);
    const auto graceSeule = Reponses(etat, etat.Graphes[0], s, kCarAppogiature);
    ASSERT_EQ(graceSeule.size(), 1u);
    EXPECT_NEAR(graceSeule[0].second.v, y, 3);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[0], s, kCarNoire).empty());

    EXPECT_EQ(Reponses(etat, etat.Graphes[1], s, kCarNoire).size(), 1u);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[1], s, kCarAppogiature).empty());

    EXPECT_EQ(Reponses(etat, etat.Graphes[2], s, kCarAppogiature).size(), 1u);
    EXPECT_TRUE(Reponses(etat, etat.Graphes[2], s, kCarNoire).empty());
}
