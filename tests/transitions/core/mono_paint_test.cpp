// SPDX-License-Identifier: GPL-3.0-or-later
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

int CountSet(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += MonoPixel(image, x, y);
    return n;
}

}  // namespace

TEST(MonoPaint, NewImageIsClearAndWhiteIsOne)
{
    const QImage image = NewMonoImage(37, 5);
    EXPECT_EQ(image.format(), QImage::Format_Mono);
    EXPECT_EQ(CountSet(image), 0);
    EXPECT_EQ(image.color(1), qRgb(255, 255, 255));
}

TEST(MonoPaint, EllipsesFollowThePixelCentreRule)
{
    const int boxes[][4] = {{0, 0, 6, 6}, {3, 2, 10, 7},    {-5, -4, 9, 8}, {20, 1, 61, 30},
                            {5, 5, 6, 6}, {30, 10, 70, 50}, {0, 0, 1, 9},   {4, 4, 4, 9}};
    for (const auto &b : boxes) {
        QImage image = NewMonoImage(64, 40);
        FillMonoEllipse(image, b[0], b[1], b[2], b[3], true);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(MonoPixel(image, x, y), CentreInside(x, y, b[0], b[1], b[2], b[3]) && b[2] > b[0])
                    << b[0] << "," << b[1] << "," << b[2] << "," << b[3] << " at " << x << "," << y;
    }
}

TEST(MonoPaint, BlackEllipseClearsOnlyItsPixels)
{
    QImage image = NewMonoImage(16, 16);
    FillMonoRect(image, 0, 0, 16, 16, true);
    FillMonoEllipse(image, 2, 2, 8, 8, false);
    EXPECT_FALSE(MonoPixel(image, 4, 4));
    EXPECT_TRUE(MonoPixel(image, 2, 2));  // the box corner is outside the circle
    EXPECT_TRUE(MonoPixel(image, 8, 4));
}

TEST(MonoPaint, RectanglesAreClippedAndExclusive)
{
    QImage image = NewMonoImage(50, 6);
    FillMonoRect(image, -3, 1, 13, 3, true);
    FillMonoRect(image, 45, 4, 80, 9, true);
    FillMonoRect(image, 7, 0, 7, 6, true);  // empty
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 50; ++x)
            EXPECT_EQ(MonoPixel(image, x, y), (x < 13 && y >= 1 && y < 3) || (x >= 45 && y >= 4)) << x << "," << y;
    FillMonoRect(image, 3, 1, 42, 2, false);
    EXPECT_TRUE(MonoPixel(image, 2, 1));
    EXPECT_FALSE(MonoPixel(image, 3, 1));
    EXPECT_TRUE(MonoPixel(image, 3, 2));
}

TEST(MonoPaint, OrPlacesTheSourceAtAnyOffset)
{
    QImage source = NewMonoImage(5, 3);
    SetMonoPixel(source, 0, 0, true);
    SetMonoPixel(source, 4, 2, true);
    SetMonoPixel(source, 2, 1, true);
    const int offsets[][2] = {{0, 0}, {3, 1}, {-2, -1}, {30, 4}, {-4, -2}};
    for (const auto &o : offsets) {
        QImage image = NewMonoImage(33, 6);
        SetMonoPixel(image, 10, 5, true);
        OrMonoImage(image, o[0], o[1], source);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 33; ++x) {
                const int sx = x - o[0], sy = y - o[1];
                const bool fromSource = sx >= 0 && sy >= 0 && sx < 5 && sy < 3 && MonoPixel(source, sx, sy);
                EXPECT_EQ(MonoPixel(image, x, y), fromSource || (x == 10 && y == 5)) << x << "," << y;
            }
    }
}

}  // namespace lumetta
