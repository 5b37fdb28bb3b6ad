#include "symbols/profiles.h"

#include <gtest/gtest.h>

#include "band_drawing.h"
#include "symbols/matchers_internal.h"
#include "symbols/profile_templates.h"

namespace {

ModeleProfil Modele(std::vector<int16_t> v) {
    ModeleProfil m;
    m.NbEchantillons = static_cast<int16_t>(v.size());
    m.Echantillons = v;
    m.Poids.assign(v.size(), 100);
    for (int16_t x : v) m.Maximum = std::max(m.Maximum, x);
    return m;
}

}  // namespace

TEST(CompareProfil, ContourEqualToItsTemplateScoresFull) {
    std::vector<int> contour;
    std::vector<int16_t> echantillons;
    for (int i = 0; i < 43; ++i) {
        contour.push_back(i < 20 ? 20 - i : i - 20);
        echantillons.push_back(static_cast<int16_t>(contour.back()));
    }
    EXPECT_EQ(CompareProfil(contour, 20, Modele(echantillons), 30), 500);
    // A contour far from the template scores nothing, never below 0.
    std::vector<int> loin(43, 200);
    EXPECT_EQ(CompareProfil(loin, 20, Modele(echantillons), 30), 0);
}

TEST(CompareProfil, DegenerateInputsScoreZero) {
    const ModeleProfil m = Modele(std::vector<int16_t>(43, 1));
    const std::vector<int> contour(40, 1);
    EXPECT_EQ(CompareProfil(contour, 3.9f, m, 20), 0);  // no trim below an interline of 4
    EXPECT_EQ(CompareProfil(contour, 20, m, 0), 0);
    EXPECT_EQ(CompareProfil({}, 20, m, 20), 0);
    EXPECT_EQ(CompareProfil(contour, 20, ModeleProfil{43, 1, {1, 2}, {100, 100}}, 20), 0);
    // Fewer rows than trims: only the trims that leave rows count.
    EXPECT_GT(CompareProfil({1, 1}, 20, m, 20), 0);
}

TEST(NormaliseContour, FillsRowsWithoutValue) {
    const ContourBrut brut = {std::nullopt, 5, std::nullopt, 7, 3};
    EXPECT_EQ(NormaliseContour(brut, true), (std::vector<int>{2, 2, 2, 4, 0}));
    EXPECT_EQ(NormaliseContour(brut, false), (std::vector<int>{2, 2, 2, 0, 4}));
    EXPECT_EQ(NormaliseContour({std::nullopt, std::nullopt}, true), (std::vector<int>{0, 0}));
}

TEST(ScoreSequenceLignes, EmptyWeightSumScoresZero) {
    BandeMatchers bande(100, 100, 10, 30);
    EtatPage& etat = bande.etat;
    bande.Rectangle(10, 10, 40, 20);
    ASSERT_EQ(bande.Construit(), 1);
    const EntreeSequence sansPoids[] = {{0, 1, 0, 10, 100}, {2, 0, 0, 0, 0}};
    const EntreeSequence vide[] = {{2, 0, 0, 0, 0}};
    EXPECT_EQ(ScoreSequenceLignes(etat.Graphes[0], 10, sansPoids, 890), 0);
    EXPECT_EQ(ScoreSequenceLignes(etat.Graphes[0], 10, vide, 890), 0);
}

TEST(ScoreSequenceLignes, KeepsTheWeightOfTheEntriesRead) {
    BandeMatchers bande(100, 100, 10, 30);
    EtatPage& etat = bande.etat;
    // One run for 20 rows, then two runs for 20 rows.
    bande.Rectangle(10, 10, 50, 14);
    bande.Rectangle(30, 20, 51, 24);
    bande.Rectangle(29, 14, 31, 20);
    ASSERT_EQ(bande.Construit(), 1);
    const EntreeSequence deux[] = {{0, 1, 100, 100, 300}, {0, 2, 300, 100, 300}, {2, 0, 0, 0, 0}};
    EXPECT_EQ(ScoreSequenceLignes(etat.Graphes[0], 10, deux, 400), 400);
    // Too short a band of two runs: that entry is skipped at its weight.
    const EntreeSequence longue[] = {{0, 1, 100, 100, 300}, {0, 2, 300, 300, 400}, {2, 0, 0, 0, 0}};
    EXPECT_EQ(ScoreSequenceLignes(etat.Graphes[0], 10, longue, 400), 100);
    // A test of "more runs than one" reads the two-run band too.
    const EntreeSequence plus[] = {{1, 1, 100, 100, 300}, {2, 0, 0, 0, 0}};
    EXPECT_EQ(ScoreSequenceLignes(etat.Graphes[0], 10, plus, 1000), 1000);
}

TEST(ProfileTemplates, EveryTableIsComplete) {
    for (int c = 0; c <= 9; ++c) {
        const PaireModeles p = PaireChiffre(c);
        ASSERT_TRUE(p.premier && p.second);
        for (const ModeleProfil* m : {p.premier, p.second}) {
            EXPECT_EQ(m->Echantillons.size(), static_cast<size_t>(m->NbEchantillons));
            EXPECT_EQ(m->Poids.size(), static_cast<size_t>(m->NbEchantillons));
        }
    }
}
