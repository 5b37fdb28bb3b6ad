// Staves grouped into systems by the ink that joins their left ends.
#include <gtest/gtest.h>

#include "records/etat_page.h"
#include "staff/page_state.h"
#include "structure/systems_measures.h"
#include "toolbox/messages.h"

namespace {

constexpr int kGauche = 100;  // left end of every staff's lines
constexpr int kEcart = 150;   // from one staff's top to the next

class SystemesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        LibereEtatPage(etat);
        etat.InterligneMoyenne = 20;
        page = CreeOffscreen(1000, 2000);
    }
    void TearDown() override {
        if (page) DisposeOffscreen(page);
        LibereEtatPage(etat);
    }

    static int Haut(int i) { return 100 + kEcart * i; }
    static int Bas(int i) { return Haut(i) + 80; }

    void Portees(int n) {
        for (int i = 0; i < n; ++i) {
            Portee p;
            p.DebutProfil = static_cast<int16_t>(Haut(i));
            p.FinProfil = static_cast<int16_t>(Bas(i));
            p.CadreLignes = Rect{p.DebutProfil, kGauche, p.FinProfil, 900};
            p.CadreBande = Rect{static_cast<int16_t>(Haut(i) - 30), 0,
                                static_cast<int16_t>(Bas(i) + 30), 1000};
            p.NbLignesPortee = 5;
            p.Interligne = 20;
            p.Clef.PosX = 120;
            etat.Portees.push_back(p);
        }
    }
    // A stroke `largeur` wide joining the staves a to b at their left end.
    void Relie(int a, int b, int largeur = 3) {
        const VuePixels base = VueOffscreen(page);
        for (int y = Haut(a); y < Bas(b); ++y)
            for (int x = kGauche - largeur; x < kGauche; ++x) EcritPixel(base, x, y, IndexNoir);
    }

  protected:
    EtatPage etat;
    Offscreen page = nullptr;  // the page bitmap the systems are read on
};

TEST_F(SystemesTest, JoinedStavesMakeSystemsAndShortSystemsGetPartsOfTheirOwn) {
    Portees(12);
    Relie(0, 2);
    Relie(0, 1, 30);  // a brace
    Relie(3, 5);
    Relie(6, 8);
    Relie(9, 11);
    etat.Portees[11].Tablature = 1;
    etat.Portees[0].Clef.PosX = 160;  // the first system is indented
    ASSERT_TRUE(DoAnalyseSystemes(etat, page));

    EXPECT_EQ(etat.NbSystemes, 4);
    EXPECT_EQ(etat.NbPorteesParSysteme, 5);
    const int systemes[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, -1};
    const int parties[] = {0, 1, 2, 0, 1, 2, 0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(etat.Portees[i].NumSysteme, systemes[i]);
        EXPECT_EQ(etat.Portees[i].IndexPortee, parties[i]);
        EXPECT_EQ(etat.Portees[i].Accolade, i == 0 ? 1 : 0);
    }
    EXPECT_FLOAT_EQ(etat.RetraitPremierGroupe, 2.0f);
}

TEST_F(SystemesTest, SingleStavesAndAMissingPage) {
    Portees(3);
    ASSERT_TRUE(DoAnalyseSystemes(etat, page));
    EXPECT_EQ(etat.NbSystemes, 3);
    EXPECT_EQ(etat.NbPorteesParSysteme, 1);
    for (const Portee& p : etat.Portees) EXPECT_EQ(p.IndexPortee, 0);
    EXPECT_FLOAT_EQ(etat.RetraitPremierGroupe, 0.0f);

    DisposeOffscreen(page);
    CaptureAlertes alertes;
    EXPECT_FALSE(DoAnalyseSystemes(etat, page));
    EXPECT_TRUE(alertes.Contient("DoAnalyseSystemes:no offscreen"));
}

}  // namespace

// Only ink beside the system's bar line, or bar lines running on from one
// staff to the next, join two staves of a system; the system line alone
// does not (a voice over its accompaniment).
TEST_F(SystemesTest, ABracketOrBarLinesThroughTheGapJoinStaves) {
    Portees(6);
    const VuePixels base = VueOffscreen(page);
    auto trait = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) EcritPixel(base, x, y, IndexNoir);
    };
    for (int s : {0, 2, 4}) Relie(s, s + 1);             // the system lines
    trait(kGauche - 18, kGauche - 10, Haut(0), Bas(1));  // a bracket, clear of the line
    // Staves 2 and 3: two of three inner bar lines run through the gap;
    // staves 4 and 5: one of three does.
    for (int s : {2, 4}) {
        for (int x : {300, 500, 700}) {
            Mesure m;
            m.PosXMesure = static_cast<int16_t>(x);
            etat.Portees[s].Mesures.push_back(m);
        }
    }
    for (int s : {2, 4}) {
        Mesure debut, fin;
        debut.PosXMesure = 150;
        fin.PosXMesure = 900;
        auto& mesures = etat.Portees[s].Mesures;
        mesures.insert(mesures.begin(), debut);
        mesures.push_back(fin);
    }
    trait(300, 302, Haut(2), Bas(3));
    trait(500, 502, Haut(2), Bas(3));
    trait(300, 302, Haut(4), Bas(5));
    ASSERT_TRUE(DoAnalyseSystemes(etat, page));
    EXPECT_EQ(etat.NbSystemes, 3);
    const int accolades[] = {1, 0, 1, 0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(etat.Portees[i].Accolade, accolades[i]);
    }
}
