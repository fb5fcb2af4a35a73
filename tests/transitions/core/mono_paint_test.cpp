// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/pixels/mono_bitmap.h"
#include "transitions/core/shapes/mono_paint.h"

#include <gtest/gtest.h>

namespace lumetta {

namespace {

// The rule itself: a pixel belongs to the ellipse inscribed in the box when its centre does.
bool CentreInside(int x, int y, int l, int t, int r, int b)
{
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0, rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0 + 1e-12;
}

int CountSet(const MonoBitmap &image)
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += MonoPixel(image.View(), x, y);
    return n;
}

}  // namespace

TEST(MonoPaint, NewBitmapIsClearInWholeWords)
{
    const MonoBitmap image(37, 5);
    EXPECT_EQ(image.View().layout, PixelLayout::Mono);
    EXPECT_EQ(image.Stride(), 8);
    EXPECT_EQ(image.SizeInBytes(), 40u);
    EXPECT_EQ(CountSet(image), 0);
    EXPECT_TRUE(MonoBitmap(0, 5).IsNull());
    EXPECT_TRUE(MonoBitmap(5, -1).IsNull());
}

TEST(MonoPaint, EllipsesFollowThePixelCentreRule)
{
    const int boxes[][4] = {{0, 0, 6, 6}, {3, 2, 10, 7},    {-5, -4, 9, 8}, {20, 1, 61, 30},
                            {5, 5, 6, 6}, {30, 10, 70, 50}, {0, 0, 1, 9},   {4, 4, 4, 9}};
    for (const auto &b : boxes) {
        MonoBitmap image(64, 40);
        FillMonoEllipse(image.View(), b[0], b[1], b[2], b[3], true);
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                ASSERT_EQ(MonoPixel(image.View(), x, y), CentreInside(x, y, b[0], b[1], b[2], b[3]) && b[2] > b[0])
                    << b[0] << "," << b[1] << "," << b[2] << "," << b[3] << " at " << x << "," << y;
    }
}

TEST(MonoPaint, BlackEllipseClearsOnlyItsPixels)
{
    MonoBitmap image(16, 16);
    FillMonoRect(image.View(), 0, 0, 16, 16, true);
    FillMonoEllipse(image.View(), 2, 2, 8, 8, false);
    EXPECT_FALSE(MonoPixel(image.View(), 4, 4));
    EXPECT_TRUE(MonoPixel(image.View(), 2, 2));  // the box corner is outside the circle
    EXPECT_TRUE(MonoPixel(image.View(), 8, 4));
}

TEST(MonoPaint, RectanglesAreClippedAndExclusive)
{
    MonoBitmap image(50, 6);
    FillMonoRect(image.View(), -3, 1, 13, 3, true);
    FillMonoRect(image.View(), 45, 4, 80, 9, true);
    FillMonoRect(image.View(), 7, 0, 7, 6, true);  // empty
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 50; ++x)
            EXPECT_EQ(MonoPixel(image.View(), x, y), (x < 13 && y >= 1 && y < 3) || (x >= 45 && y >= 4))
                << x << "," << y;
    FillMonoRect(image.View(), 3, 1, 42, 2, false);
    EXPECT_TRUE(MonoPixel(image.View(), 2, 1));
    EXPECT_FALSE(MonoPixel(image.View(), 3, 1));
    EXPECT_TRUE(MonoPixel(image.View(), 3, 2));
}

TEST(MonoPaint, OrPlacesTheSourceAtAnyOffset)
{
    MonoBitmap source(5, 3);
    SetMonoPixel(source.View(), 0, 0, true);
    SetMonoPixel(source.View(), 4, 2, true);
    SetMonoPixel(source.View(), 2, 1, true);
    const int offsets[][2] = {{0, 0}, {3, 1}, {-2, -1}, {30, 4}, {-4, -2}};
    for (const auto &o : offsets) {
        MonoBitmap image(33, 6);
        SetMonoPixel(image.View(), 10, 5, true);
        OrMonoImage(image.View(), o[0], o[1], source.View());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 33; ++x) {
                const int sx = x - o[0], sy = y - o[1];
                const bool fromSource = sx >= 0 && sy >= 0 && sx < 5 && sy < 3 && MonoPixel(source.View(), sx, sy);
                EXPECT_EQ(MonoPixel(image.View(), x, y), fromSource || (x == 10 && y == 5)) << x << "," << y;
            }
    }
}

}  // namespace lumetta
