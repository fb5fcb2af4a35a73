// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_rings.h"
#include "transitions/core/pixels/mono_bitmap.h"
#include "transitions/core/shapes/mono_paint.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumetta {

namespace {

struct Disc
{
    int cx, cy, width, height;
};

// The disc of radius r as the mask painter fills it; r 0 is empty, a negative r the whole picture.
MonoBitmap PaintedDisc(const Disc &d, int r)
{
    MonoBitmap image(d.width, d.height);
    if (r < 0)
        FillMonoRect(image.View(), 0, 0, d.width, d.height, true);
    else if (r > 0)
        FillMonoEllipse(image.View(), d.cx - r, d.cy - r, d.cx + r, d.cy + r, true);
    return image;
}

}  // namespace

// Each move reports exactly the pixels in one of the two discs, each once, inside the picture.
TEST(CircleRings, EveryMoveReportsThePixelsBetweenTheTwoDiscs)
{
    struct Case
    {
        Disc disc;
        bool grows;
        std::vector<int> radii;
    };
    const Case cases[] = {
        {{20, 15, 41, 31}, true, {1, 2, 3, 7, 8, 20, 26}},
        {{20, 15, 41, 31}, false, {26, 25, 19, 11, 4, 2}},
        {{0, 0, 33, 17}, true, {1, 5, 6, 30, 37}},
        {{33, 17, 33, 17}, false, {37, 36, 12, 1}},
        {{0, 8, 24, 17}, true, {2, 3, 4, 9, 25}},
        {{12, 17, 24, 17}, false, {21, 20, 3}},
        {{16, 8, 32, 16}, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
    };
    for (const Case &c : cases) {
        CircleRings rings(c.disc.cx, c.disc.cy, c.disc.width, c.disc.height, c.grows);
        int previous = c.grows ? 0 : -1;
        for (int r : c.radii) {
            std::vector<int> hits(std::size_t(c.disc.width * c.disc.height), 0);
            rings.MoveTo(r, [&](int y, int x0, int x1) {
                ASSERT_TRUE(y >= 0 && y < c.disc.height && x0 >= 0 && x0 < x1 && x1 <= c.disc.width)
                    << y << " " << x0 << " " << x1;
                for (int x = x0; x < x1; ++x)
                    ++hits[std::size_t(y * c.disc.width + x)];
            });
            const MonoBitmap before = PaintedDisc(c.disc, previous), after = PaintedDisc(c.disc, r);
            for (int y = 0; y < c.disc.height; ++y)
                for (int x = 0; x < c.disc.width; ++x)
                    ASSERT_EQ(hits[std::size_t(y * c.disc.width + x)],
                              MonoPixel(before.View(), x, y) != MonoPixel(after.View(), x, y) ? 1 : 0)
                        << "centre " << c.disc.cx << "," << c.disc.cy << " radius " << previous << " to " << r << " at "
                        << x << "," << y;
            previous = r;
        }
    }
}

TEST(CircleRings, APictureWithoutPixelsReportsNothing)
{
    for (bool grows : {true, false}) {
        CircleRings rings(0, 0, 0, 0, grows);
        int runs = 0;
        rings.MoveTo(5, [&](int, int, int) { ++runs; });
        EXPECT_EQ(runs, 0);
    }
}

}  // namespace lumetta
