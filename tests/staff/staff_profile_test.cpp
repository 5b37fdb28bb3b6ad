#include "staff/staff_profile.h"

#include <gtest/gtest.h>

#include "pages_de_test.h"

using namespace pages_de_test;

namespace {

class ProfilTest : public TestPortees {
  protected:
    // Groups of spacing 10, so that a staff needs a hump of 20 rows.
    void GroupesInterligne10() {
        GroupeLignes g;
        g.InterligneGroupe = 10.0f;
        g.NbLignesGroupe = 5;
        etat.GroupesLignes.assign(4, g);
    }
    static std::vector<int32_t> Bosses(int hauteur, const std::vector<std::array<int, 3>>& bosses) {
        std::vector<int32_t> r(hauteur, 0);
        for (const auto& [debut, fin, valeur] : bosses)
            for (int y = debut; y < fin; ++y) r[y] = valeur;
        return r;
    }
};

// The raw profile, its smoothing and its threshold.
TEST_F(ProfilTest, ProfileSmoothingAndThreshold) {
    const std::vector<int32_t> blancs = {9, 5, 7, 2, 0, 0, 7};
    GroupeLignes g;
    g.PremiereLigne = 4;
    g.NbLignesGroupe = 3;
    g.InterligneGroupe = 1.4f;  // covers trunc(4.2) = 4 rows, the last one past the page
    const std::vector<int32_t> r = ProfilLignes(blancs, {g});
    // The maximum leaves out row 0.
    EXPECT_EQ(r, (std::vector<int32_t>{-2, 2, 0, 5, 8, 8, 1}));

    std::vector<int32_t> l = {0, 0, 0, 16, 0, 0, 0, 0};  // seven rows weighed, truncated
    LisseProfil(l);
    EXPECT_EQ(l, (std::vector<int32_t>{1, 2, 3, 4, 3, 2, 1, 0}));
    std::vector<int32_t> bord = {32, 0, 0, 0};
    LisseProfil(bord);
    EXPECT_EQ(bord, (std::vector<int32_t>{8, 6, 4, 2}));
    // The mean of positive rows times the factor.
    EXPECT_EQ(SeuilProfil({0, -3, 10, 20, 0}, 1.2), 18);
    EXPECT_EQ(SeuilProfil({0, -3, 0}, 1.2), 0);
}

// Humps of the profile as staves, with groups of spacing 10 so that a staff
// needs a hump of 20 rows; threshold 50, so humps of 30 are faint.
TEST_F(ProfilTest, HumpsThatMakeStaves) {
    struct Cas {
        const char* nom;
        int hauteur;
        std::vector<std::array<int, 3>> bosses;
        std::vector<std::pair<int, int>> portees;
    };
    const std::vector<Cas> cas = {
        {"two humps, a short one dropped",
         300,
         {{10, 40, 100}, {60, 75, 100}, {100, 130, 100}},
         {{10, 40}, {100, 130}}},
        {"a hump still high at the last row is no staff",
         100,
         {{10, 40, 100}, {60, 100, 100}},
         {{10, 40}}},
        {"a faint staff is found below the last staff only, at half the threshold",
         400,
         {{10, 40, 30}, {100, 130, 100}, {200, 230, 30}},
         {{100, 130}, {200, 230}}},
        {"the second scan starts half a hump below the last staff: rows from 145 only",
         400,
         {{100, 130, 100}, {135, 160, 30}},
         {{100, 130}}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        LibereEtatPage(etat);
        GroupesInterligne10();
        CherchePortees(etat, Bosses(c.hauteur, c.bosses), 50);
        std::vector<std::pair<int, int>> trouvees;
        for (int i = 0; i < etat.NbPorteesTrouvees(); ++i)
            trouvees.emplace_back(etat.Portees[i].DebutProfil, etat.Portees[i].FinProfil);
        EXPECT_EQ(trouvees, c.portees);
    }
}

TEST_F(ProfilTest, FaintStaffBetweenStavesNeedsLineGroupsAcrossThePage) {
    GroupesInterligne10();  // centred on row 25, in no faint hump
    etat.CadrePage = Rect{0, 0, 400, 80};
    const auto profil =
        Bosses(400, {{10, 40, 100}, {100, 130, 30}, {200, 230, 30}, {300, 330, 100}});
    // Ten groups (an eighth of the width) in the hump at 100, none at 200.
    GroupeLignes g;
    g.PremiereLigne = 95;
    g.NbLignesGroupe = 5;
    g.InterligneGroupe = 10.0f;
    etat.GroupesLignes.insert(etat.GroupesLignes.end(), 10, g);
    CherchePortees(etat, profil, 50);
    ASSERT_EQ(etat.NbPorteesTrouvees(), 3);
    EXPECT_EQ(etat.Portees[1].DebutProfil, 100);
    EXPECT_EQ(etat.Portees[2].DebutProfil, 300);
}

TEST_F(ProfilTest, GroupsGoToTheNearestHumpWithinItsHeightAndGrowItsLineFrame) {
    for (auto [debut, fin] : {std::pair{100, 150}, std::pair{300, 350}}) {
        Portee p;
        p.DebutProfil = static_cast<int16_t>(debut);
        p.FinProfil = static_cast<int16_t>(fin);
        etat.Portees.push_back(p);
    }
    auto groupe = [](int colonne, int premiere) {
        GroupeLignes g;
        g.Colonne = static_cast<int16_t>(colonne);
        g.PremiereLigne = static_cast<int16_t>(premiere);
        g.NbLignesGroupe = 5;
        g.InterligneGroupe = 10.0f;
        return g;
    };
    // Hump middles 125 and 325, both 50 rows tall; group centres 128, 175
    // (50 rows off: still the first staff), 225 (100 rows from both: text,
    // no staff's) and 330.
    etat.GroupesLignes = {groupe(40, 103), groupe(70, 150), groupe(55, 200), groupe(900, 305)};
    AttribueGroupes(etat);
    EXPECT_EQ(etat.GroupesLignes[0].PorteeGroupe, 0);
    EXPECT_EQ(etat.GroupesLignes[1].PorteeGroupe, 0);
    EXPECT_EQ(etat.GroupesLignes[2].PorteeGroupe, -1);
    EXPECT_EQ(etat.GroupesLignes[3].PorteeGroupe, 1);
    EXPECT_EQ(etat.Portees[0].CadreLignes, (Rect{103, 40, 200, 70}));
    EXPECT_EQ(etat.Portees[1].CadreLignes, (Rect{305, 900, 355, 900}));
}

TEST_F(ProfilTest, LineCountVoteFavoursFiveAndSix) {
    etat.Portees.resize(4);  // the last one without groups: five lines
    auto ajoute = [this](int portee, int lignes, int nombre) {
        GroupeLignes g;
        g.PorteeGroupe = static_cast<int16_t>(portee);
        g.NbLignesGroupe = static_cast<int16_t>(lignes);
        for (int k = 0; k < nombre; ++k) etat.GroupesLignes.push_back(g);
    };
    ajoute(0, 4, 9);  // 9 against 5 x 2 = 10: five lines
    ajoute(0, 5, 5);
    ajoute(1, 5, 14);  // 28 against 10 x 3 = 30: six lines
    ajoute(1, 6, 10);
    ajoute(1, 12, 50);  // twelve lines and more are not counted
    ajoute(2, 3, 4);    // a tie between 3 and 4 lines: the smaller
    ajoute(2, 4, 4);
    CompteLignesPortees(etat);
    EXPECT_EQ(etat.Portees[0].NbLignesPortee, 5);
    EXPECT_EQ(etat.Portees[1].NbLignesPortee, 6);
    EXPECT_EQ(etat.Portees[2].NbLignesPortee, 3);
    EXPECT_EQ(etat.Portees[3].NbLignesPortee, 5);
}

}  // namespace
