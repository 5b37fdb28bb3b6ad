#include "staff/line_samples.h"

#include <gtest/gtest.h>

#include "pages_de_test.h"

using namespace pages_de_test;

namespace {

// Samples 50 columns apart from column 25, one per Y (-1 for none), with
// interline 10 where valid.
std::vector<EchantillonLignes> Echantillons(std::initializer_list<float> ys) {
    std::vector<EchantillonLignes> e;
    float x = 25;
    for (float y : ys) {
        EchantillonLignes s;
        s.X = x;
        s.Y = y;
        s.InterligneLocal = y < 0 ? 0.0f : 10.0f;
        e.push_back(s);
        x += 50;
    }
    return e;
}

std::vector<float> Ys(const std::vector<EchantillonLignes>& e) {
    std::vector<float> ys;
    for (const EchantillonLignes& s : e) {
        const float y = s.Y;  // the record is packed: no reference to its fields
        ys.push_back(y);
    }
    return ys;
}

std::vector<int> Chaines(const std::vector<EchantillonLignes>& e) {
    std::vector<int> c;
    for (const EchantillonLignes& s : e) c.push_back(s.Chaine);
    return c;
}

class EchantillonsTest : public TestPortees {
  protected:
    void Groupe(int colonne, int premiere, float interligne = 10.0f, int lignes = 5) {
        GroupeLignes g;
        g.PorteeGroupe = 0;
        g.Colonne = static_cast<int16_t>(colonne);
        g.PremiereLigne = static_cast<int16_t>(premiere);
        g.NbLignesGroupe = static_cast<int16_t>(lignes);
        g.InterligneGroupe = interligne;
        etat.GroupesLignes.push_back(g);
    }
};

TEST_F(EchantillonsTest, SectionsVoteForTheTopLineRow) {
    etat.Portees.resize(1);
    etat.Portees[0].NbLignesPortee = 5;
    // Section 0 (columns 0-49): six fitting groups, rows 100 x4 and 101 x2.
    for (int x : {1, 2, 3, 4}) Groupe(x, 100);
    for (int x : {5, 49}) Groupe(x, 101);
    // Section 1: four fitting groups are too few.
    for (int x : {50, 60, 70, 99}) Groupe(x, 100);
    // Section 2 (100-119, the page's end): three fitting groups and three
    // that do not fit: interline too far off either way, four lines.
    for (int x : {100, 101, 102}) Groupe(x, 100);
    Groupe(103, 100, 7.6f);
    Groupe(104, 100, 12.4f);
    Groupe(105, 100, 10.0f, 4);
    EchantillonneLignes(etat, 120);

    const Portee& p = etat.Portees[0];
    EXPECT_NEAR(p.Interligne, 10.0f, 1e-5);
    EXPECT_EQ(p.LargeurSection, 50);
    ASSERT_EQ(p.Echantillons.size(), 3u);
    EXPECT_FLOAT_EQ(p.Echantillons[0].X, 25.0f);
    EXPECT_FLOAT_EQ(p.Echantillons[2].X, 125.0f);
    EXPECT_NEAR(p.Echantillons[0].Y, (4 * 100 + 2 * 101) / 6.0, 1e-4);
    EXPECT_FLOAT_EQ(p.Echantillons[0].InterligneLocal, 10.0f);
    EXPECT_FLOAT_EQ(p.Echantillons[1].Y, -1.0f);
    EXPECT_FLOAT_EQ(p.Echantillons[2].Y, -1.0f);
    EXPECT_FLOAT_EQ(p.Echantillons[2].InterligneLocal, 0.0f);
}

TEST_F(EchantillonsTest, InterlineComesFromGroupsShowingEveryLine) {
    etat.Portees.resize(2);
    etat.Portees[0].NbLignesPortee = 5;
    etat.Portees[1].NbLignesPortee = 5;
    // Staff 0: full groups of 20, and short ones where a slur midway through
    // a gap made the spacing 10. Staff 1 has short groups only.
    for (int x : {1, 2, 3}) Groupe(x, 100, 20.0f);
    for (int x : {4, 5, 6, 7, 8, 9}) Groupe(x, 100, 10.0f, 3);
    for (int x : {1, 2}) {
        Groupe(x, 300, 12.0f, 3);
        etat.GroupesLignes.back().PorteeGroupe = 1;
    }
    Groupe(3, 300, 15.0f, 4);
    etat.GroupesLignes.back().PorteeGroupe = 1;
    EchantillonneLignes(etat, 200);
    EXPECT_FLOAT_EQ(etat.Portees[0].Interligne, 20.0f);
    EXPECT_FLOAT_EQ(etat.Portees[1].Interligne, 13.0f);
}

TEST_F(EchantillonsTest, StaffWithoutSpacingGetsNoSamples) {
    etat.Portees.resize(1);
    etat.Portees[0].NbLignesPortee = 5;
    EchantillonneLignes(etat, 500);
    EXPECT_TRUE(etat.Portees[0].Echantillons.empty());
    EXPECT_EQ(etat.Portees[0].LargeurSection, 0);
}

// A single measured section is copied everywhere, in whole rows: extrapolating
// from filled samples and the measured one would tilt the line a row per
// section. With none measured, every sample stays unmeasured.
TEST_F(EchantillonsTest, OneValidSectionIsCopiedEverywhereWithoutDrift) {
    auto e = Echantillons({-1, -1, 100.7f, -1, -1, -1, -1, -1, -1, -1});
    NettoieEchantillonsPortee(e, 10.0f);
    for (const EchantillonLignes& s : e) {
        const float y = s.Y;
        EXPECT_GE(y, 100.0f);
        EXPECT_LE(y, 100.7f);
        EXPECT_FLOAT_EQ(s.InterligneLocal, 10.0f);
    }
    // Only the measured sample keeps a chain.
    EXPECT_EQ(Chaines(e), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    auto aucun = Echantillons({-1, -1, -1, -1});
    NettoieEchantillonsPortee(aucun, 10.0f);
    EXPECT_EQ(Ys(aucun), (std::vector<float>{-1, -1, -1, -1}));
}

TEST_F(EchantillonsTest, AnOutlyingRunIsReplacedAndTheMainLineRejoined) {
    // Two samples thrown off by 30 rows (a beam read as the staff); the
    // chains on both sides line up and merge.
    auto e = Echantillons({100, 100, 100, 130, 130, 100, 100, 100});
    NettoieEchantillonsPortee(e, 10.0f);
    EXPECT_EQ(Ys(e), (std::vector<float>{100, 100, 100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(Chaines(e), (std::vector<int>{1, 1, 1, 0, 0, 1, 1, 1}));
    // Steps of 5 rows are not above half an interline.
    auto pas = Echantillons({100, 105, 110, 125});
    NettoieEchantillonsPortee(pas, 10.0f);
    EXPECT_EQ(Chaines(pas), (std::vector<int>{1, 1, 1, 0}));
}

TEST_F(EchantillonsTest, ChainCompatibilityNeedsTwoSamplesAtTheEnds) {
    auto e = Echantillons({100, 100, 120, 100, 100});
    e[0].Chaine = 1;
    e[1].Chaine = 1;
    e[2].Chaine = 2;
    e[3].Chaine = 3;
    e[4].Chaine = 3;
    EXPECT_TRUE(ChainesCompatibles(e, 1, 3, 10.0f));
    EXPECT_FALSE(ChainesCompatibles(e, 1, 2, 10.0f));  // one sample, 20 rows off
    EXPECT_FALSE(ChainesCompatibles(e, 2, 3, 10.0f));  // chain 2 has a single sample
    e[2].Y = 104;
    EXPECT_TRUE(ChainesCompatibles(e, 1, 2, 10.0f));  // next chain: its single sample counts
    e[2].Y = 100;
    e[2].Chaine = 1;
    e[3].Chaine = 2;
    e[4].Chaine = 3;
    EXPECT_FALSE(ChainesCompatibles(e, 1, 3, 10.0f));  // a single sample of a later chain does not
}

TEST_F(EchantillonsTest, FillingExtrapolatesAtTheEndsAndInterpolatesBetween) {
    auto e = Echantillons({-1, -1, 100, 104, -1});
    EXPECT_TRUE(Comble(e));
    EXPECT_EQ(Ys(e), (std::vector<float>{92, 96, 100, 104, 108}));
    auto seul = Echantillons({-1, 100.6f});
    seul[1].InterligneLocal = 12.0f;
    EXPECT_TRUE(Comble(seul));
    EXPECT_FLOAT_EQ(seul[0].Y, 100.0f);
    EXPECT_FLOAT_EQ(seul[0].InterligneLocal, 12.0f);
    auto vide = Echantillons({-1, -1});
    EXPECT_FALSE(Comble(vide));
    // The extrapolated interline never goes negative: 2 - 6 would be -4.
    auto e2 = Echantillons({-1, -1, -1, 100, 100});
    e2[3].InterligneLocal = 2.0f;
    e2[4].InterligneLocal = 8.0f;
    Comble(e2);
    EXPECT_FLOAT_EQ(e2[2].InterligneLocal, 0.0f);
    EXPECT_FLOAT_EQ(e2[0].InterligneLocal, 0.0f);
}

}  // namespace
