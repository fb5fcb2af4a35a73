// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/slide_geometry.h"

#include <gtest/gtest.h>

namespace lumetta {
namespace {

struct PlaceCase
{
    int pictureWidth, pictureHeight, screenWidth, screenHeight, percent;
    SlideRect expected;
};

TEST(SlideGeometry, SizesFromTheShareOfTheScreenAndCentres)
{
    const PlaceCase cases[] = {
        // Same proportions at 100 %: 3 pixels taller than the screen, cut evenly on both sides.
        {1600, 1200, 1024, 768, 100, {-2, -2, 1028, 771}},
        // Wider than the screen: the width is the share, the height keeps the proportions.
        {400, 100, 1024, 768, 50, {254, 320, 515, 129}},
        // Taller than the screen in proportion: the height is the share.
        {1000, 2000, 1920, 1080, 80, {743, 106, 434, 867}},
        // Not stretched: the picture's own size, centred (halves to even).
        {301, 201, 1024, 768, 0, {362, 284, 301, 201}},
        // A phone held upright.
        {4000, 3000, 390, 844, 100, {-2, 274, 393, 295}},
        // An empty picture keeps its size.
        {0, 0, 1920, 1080, 100, {960, 540, 0, 0}},
    };
    for (const PlaceCase &c : cases) {
        const SlideGeometry g = PlaceSlide(c.pictureWidth, c.pictureHeight, c.screenWidth, c.screenHeight, c.percent,
                                           false);
        SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " on " << c.screenWidth << "x"
                                        << c.screenHeight << " at " << c.percent);
        EXPECT_EQ(g.picture.left, c.expected.left);
        EXPECT_EQ(g.picture.top, c.expected.top);
        EXPECT_EQ(g.picture.width, c.expected.width);
        EXPECT_EQ(g.picture.height, c.expected.height);
        EXPECT_FALSE(g.hasShadow);
    }
}

TEST(SlideGeometry, ShadowIsThePictureMovedRightAndDown)
{
    const SlideGeometry g = PlaceSlide(1600, 1200, 1024, 768, 50, true);
    ASSERT_TRUE(g.hasShadow);
    EXPECT_EQ(g.shadow.left, g.picture.left + kShadowOffset);
    EXPECT_EQ(g.shadow.top, g.picture.top + kShadowOffset);
    EXPECT_EQ(g.shadow.width, g.picture.width);
    EXPECT_EQ(g.shadow.height, g.picture.height);
}

}  // namespace
}  // namespace lumetta
