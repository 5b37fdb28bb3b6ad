#include "toolbox/music_glyphs.h"

#include <gtest/gtest.h>

#include "image/offscreen.h"
#include "records/catalogue.h"

namespace {

class MusicGlyphs : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseCouleurs();
        if (!FontMusiqueDisponible()) GTEST_SKIP() << "music font not installed";
    }
};

TEST_F(MusicGlyphs, EveryCodeButTheMissingOnesHasAGlyph) {
    for (uint16_t code : CodesCatalogue()) {
        const bool sansGlyphe = code == kCarTripleCroche || code == kCarQuadrupleCroche ||
                                EstRupture(code) || code == kCarRepetePrecedente;
        if (sansGlyphe) {
            EXPECT_EQ(NomGlypheCaractere(code), nullptr) << code;
            EXPECT_EQ(LargeurGlyphe(code, 80), 0) << code;
            continue;
        }
        ASSERT_NE(NomGlypheCaractere(code), nullptr) << code;
        Rect boite;
        EXPECT_TRUE(BoiteCaractere(code, 80, boite)) << code << " " << NomGlypheCaractere(code);
        EXPECT_FALSE(boite.EstVide()) << code;
        EXPECT_GT(LargeurGlyphe(code, 80), 0) << code;
    }
}

TEST_F(MusicGlyphs, GClefIsAboutSevenStaffSpacesOfAQuarterEm) {
    // The font's staff space is a quarter of the em.
    Rect boite;
    ASSERT_TRUE(BoiteCaractere(kCarCleSol, 100, boite));
    EXPECT_NEAR(boite.Hauteur(), 7 * 25, 15);
    EXPECT_LT(-boite.top, 2 * 100);  // fits above the pen within two em
    EXPECT_LT(boite.bottom, 100);
}

TEST_F(MusicGlyphs, DrawingClipsAtTheMapEdges) {
    PixMap* carte = AlloueePixMap(30, 30, 8);
    ASSERT_NE(carte, nullptr);
    // Pen far outside: nothing drawn, no write out of the map.
    EXPECT_TRUE(DessineCaractere(*carte, kCarCleSol, 200, -500, -500, IndexNoir));
    EXPECT_TRUE(DessineCaractere(*carte, kCarNoire, 40, 15, 20, IndexNoir));
    int noirs = 0;
    for (uint8_t p : carte->pixels) noirs += p == IndexNoir;
    EXPECT_GT(noirs, 0);
    delete carte;
}

TEST_F(MusicGlyphs, AbsurdSizesDrawNothing) {
    PixMap* carte = AlloueePixMap(10, 10, 8);
    ASSERT_NE(carte, nullptr);
    EXPECT_FALSE(DessineCaractere(*carte, kCarNoire, 0, 5, 5, IndexNoir));
    EXPECT_FALSE(DessineCaractere(*carte, kCarNoire, 100000, 5, 5, IndexNoir));
    EXPECT_EQ(LargeurGlyphe(kCarNoire, -3), 0);
    delete carte;
}

}  // namespace
