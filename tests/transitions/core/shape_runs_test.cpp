// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/shape_runs.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>
#include <QRegion>

#include <set>
#include <utility>

namespace lumetta {

namespace {

// The Bresenham line pixel by pixel, both ends included.
std::set<std::pair<int, int>> LinePixels(Point from, Point to)
{
    std::set<std::pair<int, int>> pixels;
    int x = from.x, y = from.y;
    const int dx = std::abs(to.x - x), dy = -std::abs(to.y - y);
    const int sx = x < to.x ? 1 : -1, sy = y < to.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        pixels.insert({x, y});
        if (x == to.x && y == to.y)
            return pixels;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace

// A line's runs hold its pixels within the rows, one run per row.
TEST(ShapeRuns, LineRunsHoldTheBresenhamPixelsOneRunPerRow)
{
    const std::pair<Point, Point> lines[] = {
        {{0, 0}, {0, 0}},     {{3, 4}, {17, 4}},    {{17, 4}, {3, 4}},  {{5, 0}, {5, 12}},
        {{0, 0}, {19, 7}},    {{19, 7}, {0, 0}},    {{2, 11}, {9, -3}}, {{30, 2}, {-6, 9}},
        {{10, 10}, {11, 40}}, {{-5, -5}, {40, 30}}, {{7, 3}, {8, 2}},   {{12, 6}, {0, 11}},
    };
    const int height = 12;
    for (const auto &[from, to] : lines) {
        std::set<std::pair<int, int>> fromRuns;
        std::set<int> rows;
        LineRuns(from, to, height, [&](int y, int x0, int x1) {
            EXPECT_TRUE(rows.insert(y).second) << "row " << y << " twice";
            ASSERT_LT(x0, x1);
            for (int x = x0; x < x1; ++x)
                fromRuns.insert({x, y});
        });
        std::set<std::pair<int, int>> expected;
        for (const auto &p : LinePixels(from, to))
            if (p.second >= 0 && p.second < height)
                expected.insert(p);
        EXPECT_EQ(fromRuns, expected) << from.x << "," << from.y << " to " << to.x << "," << to.y;
    }
}

// Interior runs follow the pixel-centre rule; the outline is added as lines.
TEST(ShapeRuns, PolygonRunsCoverInteriorAndOutline)
{
    const Point triangle[] = {{1, 1}, {13, 3}, {4, 10}};
    std::vector<PolygonCrossing> scratch;
    QRegion covered;
    PolygonRuns(triangle, 3, 9, scratch, [&](int y, int x0, int x1) { covered += QRect(x0, y, x1 - x0, 1); });
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            // Inside or on the triangle: on the inner side of all three edges (clockwise on screen).
            auto side = [&](Point a, Point b) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
            const bool inside = side(triangle[0], triangle[1]) >= 0 && side(triangle[1], triangle[2]) >= 0
                                && side(triangle[2], triangle[0]) >= 0;
            bool onOutline = false;
            for (int i = 0; i < 3; ++i)
                onOutline = onOutline || LinePixels(triangle[i], triangle[(i + 1) % 3]).count({x, y});
            const bool expected = y < 9 && (inside || onOutline);
            EXPECT_EQ(covered.contains(QPoint(x, y)), expected) << x << "," << y;
        }
    int runs = 0;
    PolygonRuns(triangle, 0, 9, scratch, [&](int, int, int) { ++runs; });
    EXPECT_EQ(runs, 0);
}

}  // namespace lumetta
