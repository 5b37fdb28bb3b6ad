#include "staff/orientation.h"

#include <gtest/gtest.h>

#include "staff/pages_de_test.h"

using namespace pages_de_test;

namespace {

class OrientationTest : public TestPortees {};

constexpr int kInterligne = 20;
constexpr int kGauche = 200;
constexpr int kDroite = 1800;

// Three systems of two staves with the same chords at both ends, so that
// the ink inside the staves' ends weighs the same either way up; `accolade`
// draws each system's brace left of its lines.
Offscreen PageDeSystemes(bool accolade) {
    Offscreen page = CreeOffscreen(2000, 1700);
    for (int s = 0; s < 3; ++s) {
        const int haut = 150 + 500 * s;
        const int bas = haut + 8 * kInterligne + 4 * kInterligne;
        for (const int y : {haut, haut + 8 * kInterligne})
            DessinePortee(page, kGauche, kDroite, y, kInterligne, 2);
        for (const int x : {kGauche, kDroite - 3}) Noircit(page, x, haut, x + 3, bas + 2);
        for (const int x : {kGauche + 40, kDroite - 70})
            for (const int y : {haut, haut + 8 * kInterligne})
                Noircit(page, x, y + kInterligne, x + 24, y + 3 * kInterligne);
        if (accolade) Noircit(page, kGauche - 30, haut - 10, kGauche - 18, bas + 10);
    }
    return page;
}

TEST_F(OrientationTest, ABraceLeftOfTheSystemsTellsWhichWayUpAPageStands) {
    Offscreen page = PageDeSystemes(true);
    const PeseeExtremites debout = PeseExtremitesPortees(page, ReglagesCourants(), false);
    EXPECT_FALSE(debout.renversee);
    EXPECT_GT(debout.encreAvant, 0);
    EXPECT_EQ(debout.encreApres, 0) << "the lines' own ends and bar lines are not counted";
    ASSERT_TRUE(Rotation180(page));
    EXPECT_TRUE(PeseExtremitesPortees(page, ReglagesCourants(), false).renversee);
    DisposeOffscreen(page);

    // Ends that weigh the same either way are no reason to turn a page.
    Offscreen symetrique = PageDeSystemes(false);
    EXPECT_FALSE(PeseExtremitesPortees(symetrique, ReglagesCourants(), false).renversee);
    ASSERT_TRUE(Rotation180(symetrique));
    EXPECT_FALSE(PeseExtremitesPortees(symetrique, ReglagesCourants(), false).renversee);
    DisposeOffscreen(symetrique);
}

}  // namespace
