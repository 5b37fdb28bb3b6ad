#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "image/offscreen.h"
#include "records/catalogue.h"
#include "symbols/candidates.h"
#include "toolbox/music_glyphs.h"

namespace {

class SymbolSizes : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        if (!FontMusiqueDisponible()) GTEST_SKIP() << "music font not installed";
    }
};

TEST_F(SymbolSizes, GClefIsSevenInterlinesHighAtTheStaffSize) {
    for (float s : {8.0f, 17.5f, 21.0f, 26.0f, 40.0f, 60.0f}) {
        const int16_t taille = TailleCaracteresPortee(s);
        ASSERT_GT(taille, 0) << s;
        Rect boite;
        ASSERT_TRUE(BoiteCaractere(kCarCleSol, taille, boite));
        // The search stops within about one size step of the target.
        EXPECT_NEAR(boite.Hauteur(), 7 * s, 3.0) << s;
    }
}

TEST_F(SymbolSizes, NoSizeOutsideTheRangeOrForAbsurdInterlines) {
    for (float s : {0.5f, 0.0f, -4.0f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity()})
        EXPECT_EQ(TailleCaracteresPortee(s), 0) << s;
}

TEST_F(SymbolSizes, WidthsFollowTheStoredSize) {
    Portee p;
    p.TailleSymboles = TailleCaracteresPortee(20.0f);
    const int noire = LargeurCaractere(p, kCarNoire);
    EXPECT_NEAR(noire, 1.3 * 20, 6);  // a black head is about 1.3 staff spaces wide
    EXPECT_EQ(LargeurCaractere(p, kCarTripleCroche), 0);
    p.TailleSymboles = 0;
    EXPECT_EQ(LargeurCaractere(p, kCarNoire), 0);
}

}  // namespace
