// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/scanned_runs.h"

#include "transitions/core/frames/radial_geometry.h"

#include <gtest/gtest.h>

#include <QSize>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace lumetta {

namespace {

using RunList = std::vector<std::tuple<int, int, int>>;

// Each row's pixels from column -1 on (where the reference cuts interiors) as sorted, disjoint
// intervals: runs that overlap or touch are joined.
std::map<int, std::vector<std::pair<int, int>>> PixelsOf(RunList runs)
{
    for (auto &run : runs)
        std::get<1>(run) = std::max(std::get<1>(run), -1);
    std::sort(runs.begin(), runs.end());
    std::map<int, std::vector<std::pair<int, int>>> rows;
    for (const auto &[y, x0, x1] : runs) {
        if (x0 >= x1)
            continue;
        auto &row = rows[y];
        if (!row.empty() && x0 <= row.back().second)
            row.back().second = std::max(row.back().second, x1);
        else
            row.push_back({x0, x1});
    }
    return rows;
}

// The runs one of the shape functions gives, in its order.
template <class Draw>
RunList Collect(Draw draw)
{
    RunList runs;
    draw([&](int y, int x0, int x1) { runs.emplace_back(y, x0, x1); });
    return runs;
}

RunList LineRunsOf(bool scanned, Point from, Point to, int height)
{
    return Collect([&](auto run) {
        if (scanned)
            ScannedLineRuns(from, to, height, run);
        else
            LineRuns(from, to, height, run);
    });
}

RunList PolygonRuns(bool scanned, const std::vector<Point> &points, int height)
{
    std::vector<ScanRow> rows;
    std::vector<PolygonCrossing> crossings;
    return Collect([&](auto run) {
        if (scanned)
            ScannedPolygonRuns(points.data(), int(points.size()), height, rows, crossings, run);
        else
            PolygonRuns(points.data(), int(points.size()), height, crossings, run);
    });
}

std::string Describe(const std::vector<Point> &points)
{
    std::ostringstream text;
    for (const Point &p : points)
        text << "(" << p.x << "," << p.y << ") ";
    return text.str();
}

// Rows of a polygon cut it in one piece: one run per row, rows in order.
void ExpectOneRunPerRow(const RunList &runs)
{
    for (std::size_t i = 1; i < runs.size(); ++i)
        ASSERT_LT(std::get<0>(runs[i - 1]), std::get<0>(runs[i]));
}

}  // namespace

// Every line between points of a small square, both ways, clipped to heights that cut it
// anywhere: the very runs of the pixel walk, in its order.
TEST(ScannedRuns, LinesGiveTheRunsOfThePixelWalk)
{
    for (int x0 = -6; x0 <= 6; ++x0)
        for (int y0 = -6; y0 <= 6; ++y0)
            for (int x1 = -6; x1 <= 6; ++x1)
                for (int y1 = -6; y1 <= 6; ++y1)
                    for (int height : {0, 1, 4, 7}) {
                        const Point from{x0, y0}, to{x1, y1};
                        ASSERT_EQ(LineRunsOf(true, from, to, height), LineRunsOf(false, from, to, height))
                            << x0 << "," << y0 << " to " << x1 << "," << y1 << ", height " << height;
                    }
}

// Long and steep lines, lines from far outside and the hands of a 4K sweep.
TEST(ScannedRuns, LongLinesGiveTheRunsOfThePixelWalk)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-300, 4200);
    std::vector<std::pair<Point, Point>> lines = {
        {{1920, 1080}, {-1, -1}}, {{1920, 1080}, {3841, 2}},   {{0, 0}, {3840, 1}},
        {{0, 0}, {1, 2160}},      {{-100000, 5}, {100000, 6}}, {{7, -100000}, {9, 100000}},
    };
    for (int i = 0; i < 400; ++i)
        lines.push_back({{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}});
    for (const auto &[from, to] : lines)
        for (int height : {2160, 1081, 33}) {
            ASSERT_EQ(LineRunsOf(true, from, to, height), LineRunsOf(false, from, to, height))
                << from.x << "," << from.y << " to " << to.x << "," << to.y << ", height " << height;
        }
}

// Polygons whose outline goes down once and up once, of every shape: their rows are one run each.
TEST(ScannedRuns, PolygonsCutOnceARowMatchTheReference)
{
    const std::vector<std::vector<Point>> polygons = {
        {{5, 5}},
        {{1, 1}, {13, 3}, {4, 10}},
        {{4, 10}, {13, 3}, {1, 1}},
        {{0, 0}, {9, 0}, {9, 0}, {0, 0}},
        {{2, 2}, {2, 9}, {2, 5}},
        {{0, 0}, {3, 9}, {6, 18}},
        {{8, -3}, {20, -1}, {20, 4}, {-4, 4}},
        {{10, 10}, {40, -1}, {41, -1}, {41, 2}},
        {{10, 10}, {11, 40}, {12, 40}},
        {{-5, 6}, {30, 6}, {30, 7}, {-5, 7}},
        {{3, 0}, {5, 0}, {9, 6}, {5, 12}, {3, 12}, {0, 6}},
        {{16, 8}, {33, -1}, {33, 17}, {-1, 17}},
        {{-3000, 5}, {4000, 9}, {10, 3000}},
        {{20, -70000}, {21, 70000}, {-50000, 30}},
    };
    for (const auto &polygon : polygons)
        for (int height : {0, 1, 9, 40}) {
            const RunList scanned = PolygonRuns(true, polygon, height);
            ExpectOneRunPerRow(scanned);
            ASSERT_EQ(PixelsOf(scanned), PixelsOf(PolygonRuns(false, polygon, height)))
                << Describe(polygon) << "height " << height;
        }
    EXPECT_TRUE(PolygonRuns(true, {}, 9).empty());
}

// Random polygons, convex, star-shaped, self-crossing: the pixels of the reference.
TEST(ScannedRuns, RandomPolygonsMatchTheReference)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-8, 40), corners(1, 7);
    int cutOnce = 0;
    for (int i = 0; i < 20000; ++i) {
        std::vector<Point> polygon(std::size_t(corners(random)));
        for (Point &p : polygon)
            p = {coordinate(random), coordinate(random)};
        const RunList scanned = PolygonRuns(true, polygon, 32);
        ASSERT_EQ(PixelsOf(scanned), PixelsOf(PolygonRuns(false, polygon, 32))) << Describe(polygon);
        int runsPerRow = 0;
        for (std::size_t r = 1; r < scanned.size(); ++r)
            runsPerRow += std::get<0>(scanned[r - 1]) >= std::get<0>(scanned[r]);
        cutOnce += runsPerRow == 0;
    }
    EXPECT_GT(cutOnce, 5000);
}

// The wedges of every sweep at picture sizes from one pixel up: the pixels of the reference.
TEST(ScannedRuns, SweepWedgesMatchTheReference)
{
    const QSize sizes[] = {{1, 1}, {2, 3}, {33, 17}, {64, 20}, {1920, 1080}};
    for (const QSize size : sizes) {
        RadialGeometry g = MakeRadialGeometry(size.width(), size.height());
        const bool large = size.width() > 100;
        for (int style = 1; style <= 7; ++style)
            for (int sub = 1; sub <= RadialSubStyleCount(style); ++sub) {
                g.activeCorners = RadialActiveCorners(style, sub);
                const int n = RadialFrameCount(g, style, sub);
                for (int step : {1, 2, 3, 7, 40, 613}) {
                    if (large && step < 40 && step != 1)
                        continue;
                    std::vector<RadialWedge> wedges;
                    // Every frame of small pictures; a spread of frames of large ones.
                    for (int frame = step; frame < n; frame += large ? step * 97 + 1 : step) {
                        RadialWedges(g, style, sub, frame, step, n, wedges);
                        for (const RadialWedge &wedge : wedges) {
                            Point points[kRadialMaxWedgeVertices];
                            const int count = RadialWedgeVertices(g, wedge, points);
                            const std::vector<Point> polygon(points, points + count);
                            auto runs = [&](bool scanned) {
                                return count == 2 ? LineRunsOf(scanned, points[0], points[1], size.height())
                                                  : PolygonRuns(scanned, polygon, size.height());
                            };
                            ASSERT_EQ(PixelsOf(runs(true)), PixelsOf(runs(false)))
                                << size.width() << "x" << size.height() << " style " << style << "/" << sub << " frame "
                                << frame << " step " << step << ": " << Describe(polygon);
                        }
                    }
                }
            }
    }
}

}  // namespace lumetta
