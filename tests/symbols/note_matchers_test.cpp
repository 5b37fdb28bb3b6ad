#include <gtest/gtest.h>

#include "band_drawing.h"
#include "symbols/catalogue.h"
#include "symbols/matchers.h"
#include "symbols/matchers_internal.h"

namespace {

// All the answers of one code on one component, as extraction asks them.
std::vector<std::pair<int, Point>> Reponses(Graphe& g, float s, uint16_t code) {
    std::vector<std::pair<int, Point>> reponses;
    RouvreGraphe(g, 1);
    for (int i = 0; i < 20; ++i) {
        Point p;
        const int score = ScoreCaractere(g, s, code, p);
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
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(bande.Glyphe("noteheads.s0", 50, T + 2 * s + k * s));
    ASSERT_EQ(bande.Construit(), 1);
    const auto reponses = Reponses(TableGraphes[0], s, kCarRonde);
    ASSERT_EQ(reponses.size(), 3u);
    std::vector<int> lignes;
    for (const auto& [score, p] : reponses) {
        EXPECT_EQ(score, 501);
        lignes.push_back(p.v);
    }
    std::sort(lignes.begin(), lignes.end());
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(lignes[k], T + 2 * s + k * s, 3);
}

TEST(ReconnaitRonde, LoneWholeNoteAndAFilledHeadIsNone) {
    const float s = 20;
    const int T = 60;
    BandeMatchers bande(300, 260, s, T);
    ASSERT_TRUE(bande.Glyphe("noteheads.s0", 50, T + 2 * s));
    ASSERT_TRUE(bande.Glyphe("noteheads.s2", 150, T + 2 * s));
    ASSERT_EQ(bande.Construit(), 2);
    EXPECT_EQ(Reponses(TableGraphes[0], s, kCarRonde).size(), 1u);
    EXPECT_TRUE(Reponses(TableGraphes[1], s, kCarRonde).empty());
}

TEST(TrouveTrous, EnclosedWhiteOfARing) {
    BandeMatchers bande(100, 100, 10, 30);
    bande.Rectangle(20, 20, 34, 36);
    for (int y = 23; y < 31; ++y) {
        for (int x = 24; x < 32; ++x) bande.Image()->pixels[y * bande.Image()->pasLigne + x] = IndexBlanc;
    }
    ASSERT_EQ(bande.Construit(), 1);
    std::vector<Trou> trous;
    ASSERT_EQ(TrouveTrous(TableGraphes[0], 10, trous, ModeTrous::Entier), 1);
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
    EXPECT_EQ(TrouveTrous(TableGraphes[0], 10, trous, ModeTrous::Entier), 0);
}
