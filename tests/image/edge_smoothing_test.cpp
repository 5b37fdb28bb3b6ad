#include "image/edge_smoothing.h"

#include <gtest/gtest.h>

#include <random>

#include "image_test_support.h"

TEST(LisseContours, BumpsGoNotchesFillCornersAndThinLinesStay) {
    Offscreen o = BitmapDepuisTexte({
        ".........",
        "....#....",  // a speck stuck on the block's top edge
        ".#######.",
        ".#######.",
        ".#######.",
        ".###.###.",  // a notch in its bottom edge
        ".........",
        "#########",  // a one-pixel line: white on two sides, kept
        ".........",
    });
    ASSERT_TRUE(LisseContours(o));
    EXPECT_EQ(TexteDepuisBitmap(o), (std::vector<std::string>{
                                        ".........",
                                        ".........",
                                        ".#######.",
                                        ".#######.",
                                        ".#######.",
                                        ".#######.",
                                        ".........",
                                        "#########",
                                        ".........",
                                    }));
    DisposeOffscreen(o);
}

// Each pixel is decided on the page as it was, whatever was decided for its
// neighbours: the page must come out as if each pixel were smoothed alone,
// within its own three-by-three window.
TEST(LisseContours, EveryPixelIsDecidedOnThePageAsItWas) {
    std::mt19937 hasard(7);
    std::uniform_int_distribution<int> choix(0, 9);
    std::vector<std::string> page(19, std::string(23, '.'));
    for (auto& ligne : page)
        for (char& c : ligne) c = choix(hasard) < 5 ? '#' : (choix(hasard) == 0 ? 'y' : '.');
    std::vector<std::string> attendue = page;
    for (size_t y = 1; y + 1 < page.size(); ++y) {
        for (size_t x = 1; x + 1 < page[y].size(); ++x) {
            std::vector<std::string> fenetre;
            for (size_t k = y - 1; k <= y + 1; ++k) fenetre.push_back(page[k].substr(x - 1, 3));
            Offscreen seul = BitmapDepuisTexte(fenetre);
            ASSERT_TRUE(LisseContours(seul));
            attendue[y][x] = TexteDepuisBitmap(seul)[1][1];
            DisposeOffscreen(seul);
        }
    }
    Offscreen o = BitmapDepuisTexte(page);
    ASSERT_TRUE(LisseContours(o));
    EXPECT_EQ(TexteDepuisBitmap(o), attendue);
    DisposeOffscreen(o);
}
