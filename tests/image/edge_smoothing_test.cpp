#include "image/edge_smoothing.h"

#include <gtest/gtest.h>

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
