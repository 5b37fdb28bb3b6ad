#include "image/page_quality.h"

#include <gtest/gtest.h>

#include "staff/pages_de_test.h"

using namespace pages_de_test;

namespace {

class QualiteBruitTest : public TestPortees {};

TEST_F(QualiteBruitTest, IsolatedPixelsCostTheNoiseScore) {
    Offscreen page = CreeOffscreen(100, 400);
    EXPECT_EQ(QualiteBruitPage(*page), 1000);
    for (int k = 0; k < 10; ++k) Noircit(page, 10 + 5 * k, 50, 11 + 5 * k, 51);
    Noircit(page, 0, 60, 1, 61);  // on the border: not counted
    Noircit(page, 50, 0, 51, 1);
    Noircit(page, 10, 70, 12, 71);  // two pixels side by side: not isolated
    EXPECT_EQ(QualiteBruitPage(*page), 1000 - 10 * 4000 / 400);
    // A white hole in black counts five.
    Noircit(page, 60, 100, 63, 103);
    EcritPixel(VueOffscreen(page), 61, 101, IndexBlanc);
    EXPECT_EQ(QualiteBruitPage(*page), 1000 - 15 * 4000 / 400);
    for (int k = 0; k < 45; ++k) {
        Noircit(page, 5 + 2 * k, 200, 6 + 2 * k, 201);
        Noircit(page, 5 + 2 * k, 210, 6 + 2 * k, 211);
    }
    EXPECT_EQ(QualiteBruitPage(*page), 0);
    DisposeOffscreen(page);
}

}  // namespace
