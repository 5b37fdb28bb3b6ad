// Measures across the staves of a system: alignment of the boundaries,
// numbering, and the place of every note in its measure.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "records/etat_page.h"
#include "staff/page_state.h"
#include "structure/systems_measures.h"

namespace {

class AlignementTest : public ::testing::Test {
  protected:
    void SetUp() override { LibereEtatPage(etat); }
    void TearDown() override { LibereEtatPage(etat); }

    // A staff of system `systeme` with boundaries at the given columns.
    Portee& Ajoute(int systeme, int index, std::initializer_list<int> colonnes) {
        Portee p;
        p.Interligne = 20;
        p.NumSysteme = static_cast<int16_t>(systeme);
        p.IndexPortee = static_cast<int16_t>(index);
        for (int x : colonnes) {
            Mesure m;
            m.PosXMesure = static_cast<int16_t>(x);
            p.Mesures.push_back(m);
        }
        etat.Portees.push_back(p);
        etat.NbSystemes = static_cast<int16_t>(std::max<int>(etat.NbSystemes, systeme + 1));
        return etat.Portees.back();
    }
    static std::vector<int> Colonnes(const Portee& p) {
        std::vector<int> x;
        for (const Mesure& m : p.Mesures) x.push_back(m.PosXMesure);
        return x;
    }

  protected:
    EtatPage etat;
};

TEST_F(AlignementTest, LoneBoundaryIsCopiedOnlyWhenItMakesMeasuresMoreRegular) {
    // A bar line missed on the lower staff: with it, four measures of 400.
    Ajoute(0, 0, {200, 600, 1000, 1400, 1800});
    Ajoute(0, 1, {200, 600, 1400, 1800});
    ASSERT_TRUE(AnalyseMesures(etat));
    EXPECT_EQ(Colonnes(etat.Portees[1]), (std::vector<int>{200, 600, 1000, 1400, 1800}));

    // A stem taken for a bar line on the upper staff: without it, the same.
    LibereEtatPage(etat);
    Ajoute(0, 0, {200, 600, 850, 1000, 1400, 1800});
    Ajoute(0, 1, {200, 600, 1000, 1400, 1800});
    ASSERT_TRUE(AnalyseMesures(etat));
    EXPECT_EQ(Colonnes(etat.Portees[0]), (std::vector<int>{200, 600, 1000, 1400, 1800}));
    EXPECT_EQ(Colonnes(etat.Portees[1]), (std::vector<int>{200, 600, 1000, 1400, 1800}));
}

// A key change read after the upper staff's double bar, where the lower
// staff has its boundary four interlines on, at its repeat sign: the upper
// boundary goes, its key and marks pass to the one that replaces it.
TEST_F(AlignementTest, AChangeReadAtADroppedBoundaryPassesToTheNextOne) {
    Portee& haut = Ajoute(0, 0, {200, 610, 1000, 1400});
    haut.Mesures[1].Clef.NbBemol = 5;
    haut.Mesures[1].Marques[0] = 3;
    Ajoute(0, 1, {200, 690, 1000, 1400});
    ASSERT_TRUE(AnalyseMesures(etat));
    const Portee& p = etat.Portees[0];
    ASSERT_EQ(Colonnes(p), (std::vector<int>{200, 690, 1000, 1400}));
    EXPECT_EQ(p.Mesures[1].Clef.NbBemol, 5);
    EXPECT_EQ(p.Mesures[1].Marques[0], 3);
}

TEST_F(AlignementTest, MiddleStaffGetsTheBarLineOfTheStavesAroundIt) {
    Ajoute(0, 0, {200, 700, 1200});
    Ajoute(0, 1, {200, 1200});
    Ajoute(0, 2, {200, 704, 1200});
    ASSERT_TRUE(AnalyseMesures(etat));
    EXPECT_EQ(Colonnes(etat.Portees[1]), (std::vector<int>{200, 700, 1200}));
    EXPECT_EQ(Colonnes(etat.Portees[2]), (std::vector<int>{200, 704, 1200}));
}

TEST_F(AlignementTest, FarStaffJoinsTheColumnThatFitsItBest) {
    // A key misread on the second staff ends its start reading early; the
    // fourth staff is far enough to reach that column, yet belongs with
    // the others.
    Ajoute(0, 0, {395, 838, 1360});
    Ajoute(0, 1, {351, 838, 1360});
    Ajoute(0, 2, {395, 838, 1360});
    Ajoute(0, 3, {395, 838, 1360});
    ASSERT_TRUE(AnalyseMesures(etat));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Colonnes(etat.Portees[i]), (std::vector<int>{395, 838, 1360})) << i;
}

TEST_F(AlignementTest, ShortSystemsAlignByRankNotPartNumber) {
    Ajoute(0, 0, {200, 700, 1200});
    Ajoute(0, 1, {200, 700, 1200});
    Ajoute(0, 2, {200, 700, 1200});
    // The last system has two staves, parts 4 and 5; its lower staff lacks
    // a bar line that makes the measures regular.
    Ajoute(1, 3, {200, 600, 1000, 1400});
    Ajoute(1, 4, {200, 600, 1400});
    ASSERT_TRUE(AnalyseMesures(etat));
    EXPECT_EQ(Colonnes(etat.Portees[4]), (std::vector<int>{200, 600, 1000, 1400}));
    EXPECT_EQ(etat.Portees[3].PremiereMesure, 2);
    EXPECT_EQ(etat.Portees[4].PremiereMesure, 2);
}

TEST_F(AlignementTest, MeasuresAreNumberedAcrossSystemsAndNotesPlaced) {
    Portee& haut = Ajoute(0, 0, {200, 600, 1000});
    for (int x : {100, 200, 300, 600, 999, 1000, 1500}) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        haut.Symboles.push_back(n);
    }
    Ajoute(1, 0, {200, 500, 800, 1100});
    Portee& vide = Ajoute(2, 0, {});
    vide.Symboles.push_back(NotePortee{});
    Ajoute(3, 0, {200, 900});
    ASSERT_TRUE(AnalyseMesures(etat));
    EXPECT_EQ(etat.Portees[1].PremiereMesure, 2);
    EXPECT_EQ(etat.Portees[2].PremiereMesure, 5);
    EXPECT_EQ(etat.Portees[3].PremiereMesure, 5);  // a staff without measures counts none

    const std::vector<NotePortee>& n = etat.Portees[0].Symboles;
    const std::vector<std::pair<int, int>> attendu = {{0, 0},   {0, 0},   {0, 250}, {0, 1000},
                                                      {1, 997}, {1, 999}, {1, 999}};
    for (size_t k = 0; k < n.size(); ++k) {
        SCOPED_TRACE(n[k].PosX);
        EXPECT_EQ(n[k].NumMesure, attendu[k].first);
        EXPECT_EQ(n[k].PosMesure, attendu[k].second);
    }
    EXPECT_EQ(etat.Portees[2].Symboles[0].NumMesure, 0);
}

// Staff lines running on past the last bar line make no measure when no
// staff of the system has a note or rest there; one note on one staff keeps
// it, for all.
TEST_F(AlignementTest, EndPastTheLastBarLineIsAMeasureOnlyWithMusicInIt) {
    auto note = [](Portee& p, int x) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        p.Symboles.push_back(n);
    };
    for (int avecNote : {0, 1}) {
        LibereEtatPage(etat);
        note(Ajoute(0, 0, {200, 600, 1000}), 300);
        Portee& bas = Ajoute(0, 1, {200, 600, 1000});
        note(bas, 400);
        if (avecNote) note(bas, 800);
        NotePortee retiree;
        retiree.PosX = 700;
        retiree.Etat = 2;
        bas.Symboles.push_back(retiree);
        ASSERT_TRUE(AnalyseMesures(etat));
        const std::vector<int> attendu =
            avecNote ? std::vector<int>{200, 600, 1000} : std::vector<int>{200, 600};
        EXPECT_EQ(Colonnes(etat.Portees[0]), attendu) << avecNote;
        EXPECT_EQ(Colonnes(etat.Portees[1]), attendu) << avecNote;
    }
}

// Clefs found among the music, once the measures stand: one after the last
// note of a measure is the next measure's clef (keeping a key read there),
// one before the first note is its own measure's, one between notes stays a
// change, and one after the staff's last note only announces the next
// staff's clef.
TEST_F(AlignementTest, ClefChangesGoWhereTheirNotesAre) {
    Portee& p = Ajoute(0, 0, {200, 600, 1000, 1400});
    for (int x : {300, 500, 700, 900, 1100, 1300}) {
        NotePortee n;
        n.PosX = static_cast<int16_t>(x);
        p.Symboles.push_back(n);
    }
    p.Mesures[1].Clef.NbBemol = 2;
    auto clef = [](int x, uint16_t type) {
        Clef c;
        c.PosX = static_cast<int16_t>(x);
        c.TypeClef = type;
        return c;
    };
    p.ChangementsClef = {clef(550, 2), clef(1050, 3), clef(1200, 1), clef(1350, 2)};
    ASSERT_TRUE(AnalyseMesures(etat));
    const Portee& r = etat.Portees[0];
    EXPECT_EQ(r.Mesures[1].Clef.TypeClef, 2);
    EXPECT_EQ(r.Mesures[1].Clef.PosX, 550);
    EXPECT_EQ(r.Mesures[1].Clef.NbBemol, 2);
    EXPECT_EQ(r.Mesures[2].Clef.TypeClef, 3);
    EXPECT_EQ(r.Mesures[3].Clef.TypeClef, 0);
    ASSERT_EQ(r.ChangementsClef.size(), 1u);
    EXPECT_EQ(r.ChangementsClef[0].PosX, 1200);
}

}  // namespace
