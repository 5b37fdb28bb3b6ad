#include "staff/column_scan.h"

#include <gtest/gtest.h>

#include <functional>

#include "pages_de_test.h"
#include "records/options.h"

using namespace pages_de_test;

namespace {

// The groups found, as "column:first row/lines/interline".
std::vector<std::string> Groupes(const ScanColonnes& scan) {
    std::vector<std::string> r;
    for (const GroupeLignes& g : scan.groupes) {
        const float interligne = g.InterligneGroupe;
        r.push_back(std::to_string(g.Colonne) + ":" + std::to_string(g.PremiereLigne) + "/" +
                    std::to_string(g.NbLignesGroupe) + "/" +
                    std::to_string(static_cast<int>(interligne)));
    }
    return r;
}

class ScanneColonneTest : public TestPortees {
  protected:
    void SetUp() override {
        TestPortees::SetUp();
        page = CreeOffscreen(4, 300);
    }
    void TearDown() override {
        DisposeOffscreen(page);
        TestPortees::TearDown();
    }
    Offscreen page = nullptr;
};

// Each case draws columns 0 to 3 and scans them all.
TEST_F(ScanneColonneTest, LineGroupsOfDrawnColumns) {
    struct Cas {
        const char* nom;
        std::function<void(Offscreen)> dessine;
        std::vector<std::string> groupes;
        float epaisseur;  // that of column 0
    };
    const std::vector<Cas> cas = {
        {"thin even lines, from the first line's centre",
         [](Offscreen p) { DessinePortee(p, 0, 1, 100, 10, 1); },
         {"0:100/5/10"},
         1.0f},
        {"thicker lines are centred and keep their spacing",
         [](Offscreen p) { DessinePortee(p, 0, 1, 100, 20, 5); },
         {"0:102/5/20"},
         5.0f},
        {"lines six pixels thick are no staff lines",
         [](Offscreen p) { DessinePortee(p, 0, 1, 100, 20, 6); },
         {},
         0.0f},
        {"a head over the low lines leaves three; over three of them, too few",
         [](Offscreen p) {
             DessinePortee(p, 0, 2, 100, 10, 1);
             Noircit(p, 0, 127, 2, 146);
             Noircit(p, 1, 117, 2, 146);
         },
         {"0:100/3/10"},
         1.0f},
        {"gaps of 4 and of 22 white rows end a group, 21 joins",
         [](Offscreen p) {
             DessinePortee(p, 0, 1, 100, 5, 1);
             DessinePortee(p, 1, 2, 100, 23, 1);
             DessinePortee(p, 2, 3, 50, 22, 1);
         },
         {"2:50/5/22"},
         1.0f},
        {"a misplaced line ends the group without starting one",
         [](Offscreen p) {
             for (int y : {100, 110, 120, 135, 145, 155, 165}) Noircit(p, 0, y, 1, y + 1);
         },
         {"0:100/3/10", "0:145/3/10"},
         1.0f},
        {"a thin run (a slur) inside a gap is passed over",
         [](Offscreen p) {
             for (int y : {100, 120, 140, 160, 168, 180}) Noircit(p, 0, y, 1, y + 1);
         },
         {"0:100/5/20"},
         1.0f},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Offscreen p = CreeOffscreen(4, 300);
        c.dessine(p);
        ScanColonnes scan(p->hauteur);
        EXPECT_FLOAT_EQ(ScanneColonne(ReglagesCourants(), *p, 0, scan), c.epaisseur);
        for (int x = 1; x < 4; ++x) ScanneColonne(ReglagesCourants(), *p, x, scan);
        DisposeOffscreen(p);
        EXPECT_EQ(Groupes(scan), c.groupes);
    }
}

TEST_F(ScanneColonneTest, LongWhiteRunsCountTheirRowsButTheFirst) {
    Noircit(page, 0, 100, 4, 101);
    ScanColonnes scan(page->hauteur);
    ScanneColonne(ReglagesCourants(), *page, 0, scan);
    ScanneColonne(ReglagesCourants(), *page, 1, scan);
    const std::vector<int32_t> blancs = scan.LignesBlanches();
    EXPECT_EQ(blancs[0], 0);
    EXPECT_EQ(blancs[1], 2);
    EXPECT_EQ(blancs[99], 2);
    EXPECT_EQ(blancs[100], 0);
    EXPECT_EQ(blancs[101], 0);  // first row of the run below the line
    EXPECT_EQ(blancs[102], 2);
    EXPECT_EQ(blancs[299], 2);  // the run that reaches the bottom counts too
}

TEST_F(ScanneColonneTest, AGroupReachingTheBottomIsKept) {
    Offscreen courte = CreeOffscreen(2, 135);
    DessinePortee(courte, 0, 2, 100, 10, 1, 4);  // last line at 130, four white rows below
    ScanColonnes scan(courte->hauteur);
    ScanneColonne(ReglagesCourants(), *courte, 0, scan);
    DisposeOffscreen(courte);
    EXPECT_EQ(Groupes(scan), (std::vector<std::string>{"0:100/4/10"}));
}

TEST_F(ScanneColonneTest, PageThicknessIsTheMeanOverColumnsWithThinRuns) {
    Offscreen large = CreeOffscreen(3, 300);
    Noircit(large, 0, 100, 1, 101);  // column 0: thickness 1
    Noircit(large, 1, 100, 2, 103);  // column 1: thickness 3; column 2 has none
    ScanColonnes scan(large->hauteur);
    float epaisseur = -1;
    EXPECT_TRUE(ScanneColonnes(ReglagesCourants(), *large, scan, epaisseur));
    DisposeOffscreen(large);
    EXPECT_FLOAT_EQ(epaisseur, 2.0f);
}

}  // namespace
