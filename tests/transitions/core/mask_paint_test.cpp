// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/core/shapes/mono_paint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace lumetta {

namespace {

bool White(const MonoBitmap &mask, int x, int y)
{
    return MonoPixel(mask.View(), x, y);
}

int CountWhite(const MonoBitmap &mask)
{
    int n = 0;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            n += White(mask, x, y);
    return n;
}

// Even-odd test of a pixel centre against a convex or simple polygon.
bool CentreInside(const std::vector<Point> &poly, double px, double py)
{
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const double xi = poly[i].x, yi = poly[i].y, xj = poly[j].x, yj = poly[j].y;
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

}  // namespace

TEST(MaskPaint, WidthsRoundUpToMultiplesOf32)
{
    const struct
    {
        int width, expected;
    } cases[] = {{1, 32}, {31, 32}, {32, 32}, {33, 64}, {64, 64}, {65, 96}, {1920, 1920}};
    for (const auto &c : cases) {
        EXPECT_EQ(MaskedBitmapWidth(c.width), c.expected) << c.width;
        const MonoBitmap mask = CreateMask(c.width, 3);
        EXPECT_EQ(mask.Width(), c.expected);
        EXPECT_EQ(mask.Height(), 3);
        EXPECT_EQ(mask.View().layout, PixelLayout::Mono);
        EXPECT_EQ(mask.Stride(), c.expected / 8);
        EXPECT_EQ(CountWhite(mask), 0);
    }
}

TEST(MaskPaint, InvertAndClearCoverTheWholeMask)
{
    MonoBitmap mask = CreateMask(40, 10);
    FillMonoRect(mask.View(), 5, 0, 6, 1, true);
    InvertMask(mask.View());
    EXPECT_EQ(CountWhite(mask), 64 * 10 - 1);
    EXPECT_FALSE(White(mask, 5, 0));
    ClearMask(mask.View());
    EXPECT_EQ(CountWhite(mask), 0);
}

TEST(MaskPaint, LinesIncludeBothEndsAndAreConnected)
{
    const struct
    {
        Point a, b;
    } lines[] = {{{0, 0}, {9, 3}}, {{12, 11}, {12, 0}}, {{30, 2}, {20, 9}}, {{5, 5}, {5, 5}}};
    for (const auto &l : lines) {
        MonoBitmap mask = CreateMask(40, 12);
        MaskLine(mask.View(), l.a, l.b);
        EXPECT_TRUE(White(mask, l.a.x, l.a.y));
        EXPECT_TRUE(White(mask, l.b.x, l.b.y));
        const int steps = std::max(std::abs(l.b.x - l.a.x), std::abs(l.b.y - l.a.y));
        EXPECT_EQ(CountWhite(mask), steps + 1);
        // Each pixel sits within half a pixel of the ideal line along its minor axis.
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                if (!White(mask, x, y))
                    continue;
                const double dx = l.b.x - l.a.x, dy = l.b.y - l.a.y;
                if (std::abs(dx) >= std::abs(dy) && dx != 0) {
                    const double ideal = l.a.y + dy * (x - l.a.x) / dx;
                    EXPECT_LE(std::abs(ideal - y), 0.5) << x << "," << y;
                } else if (dy != 0) {
                    const double ideal = l.a.x + dx * (y - l.a.y) / dy;
                    EXPECT_LE(std::abs(ideal - x), 0.5) << x << "," << y;
                }
            }
        }
    }
    MonoBitmap mask = CreateMask(10, 10);
    MaskLine(mask.View(), {-20, 5}, {30, 5});  // from far outside: clipped, no harm
    EXPECT_EQ(CountWhite(mask), 31);  // x = 0..30
}

TEST(MaskPaint, PolygonsFillInteriorAndOutline)
{
    const std::vector<std::vector<Point>> polygons = {
        {{2, 1}, {20, 4}, {5, 10}},
        {{16, 6}, {16, -1}, {33, -1}, {33, 14}},
        {{0, 0}, {12, 0}, {12, 8}, {6, 3}, {0, 8}},  // not convex
    };
    for (const auto &poly : polygons) {
        MonoBitmap mask = CreateMask(32, 12);
        MaskFillPolygon(mask.View(), poly.data(), int(poly.size()));
        MonoBitmap outline = CreateMask(32, 12);
        for (size_t i = 0; i < poly.size(); ++i)
            MaskLine(outline.View(), poly[i], poly[(i + 1) % poly.size()]);
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                const bool expected = CentreInside(poly, x, y) || White(outline, x, y);
                EXPECT_EQ(White(mask, x, y), expected) << x << "," << y;
            }
        }
    }
}

}  // namespace lumetta
