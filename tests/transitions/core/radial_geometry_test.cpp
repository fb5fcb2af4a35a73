// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/radial_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace lumetta {

namespace {

RadialGeometry GeometryFor(int w, int h, int style, int subStyle)
{
    RadialGeometry g = MakeRadialGeometry(w, h);
    g.activeCorners = RadialActiveCorners(style, subStyle);
    return g;
}

using Covered = std::multiset<std::tuple<int, int, int>>;  // pivot x, pivot y, position

void Cover(const RadialGeometry &g, const RadialWedge &w, Covered &out)
{
    for (int i = 0; i < w.count; ++i)
        out.insert({w.pivot.x, w.pivot.y, g.Wrap(w.end - i)});
}

std::vector<RadialWedge> WedgesOf(const RadialGeometry &g, int style, int subStyle, int frame, int step, int n)
{
    std::vector<RadialWedge> wedges;
    RadialWedges(g, style, subStyle, frame, step, n, wedges);
    return wedges;
}

std::vector<Point> VerticesOf(const RadialGeometry &g, const RadialWedge &wedge)
{
    Point vertices[kRadialMaxWedgeVertices];
    const int count = RadialWedgeVertices(g, wedge, vertices);
    return {vertices, vertices + count};
}

}  // namespace

TEST(RadialGeometry, PerimeterOf640x480)
{
    const RadialGeometry g = MakeRadialGeometry(640, 480);
    EXPECT_EQ(g.w, 641);
    EXPECT_EQ(g.h, 481);
    EXPECT_EQ(g.total, 2248);
    EXPECT_EQ(g.centre, (Point{320, 240}));
    EXPECT_EQ(g.PointAt(g.tl), (Point{-1, -1}));
    EXPECT_EQ(g.PointAt(g.tr), (Point{641, -1}));
    EXPECT_EQ(g.PointAt(g.br), (Point{641, 481}));
    EXPECT_EQ(g.PointAt(g.bl), (Point{-1, 481}));
    EXPECT_EQ(g.PointAt(g.total), (Point{-1, 0}));
    EXPECT_EQ(g.PointAt(g.total + 1), g.PointAt(1));
    EXPECT_EQ(g.PointAt(0), g.PointAt(g.total));
    // The walk runs round the rectangle one pixel outside, one pixel per position.
    std::set<std::pair<int, int>> seen;
    for (int p = 1; p <= g.total; ++p) {
        const Point a = g.PointAt(p), b = g.PointAt(p + 1);
        EXPECT_EQ(std::abs(a.x - b.x) + std::abs(a.y - b.y), 1) << p;
        EXPECT_TRUE(a.x == -1 || a.x == 641 || a.y == -1 || a.y == 481) << p;
        seen.insert({a.x, a.y});
    }
    EXPECT_EQ(int(seen.size()), g.total);
    // An even size is made odd; an odd one stays.
    EXPECT_EQ(MakeRadialGeometry(7, 5).w, 7);
    EXPECT_EQ(MakeRadialGeometry(7, 5).total, 28);
}

TEST(RadialGeometry, FrameCounts)
{
    const RadialGeometry g = MakeRadialGeometry(640, 480);
    const struct
    {
        int style, subStyle, frames;
    } cases[] = {{1, 1, 2248},  {1, 8, 2248}, {1, 9, 2248}, {2, 3, 2248},  {3, 1, 562},   {3, 8, 562},  {4, 1, 1767},
                 {4, 4, 1767},  {4, 5, 1607}, {4, 8, 1607}, {4, 9, 0},     {4, 0, 0},     {5, 8, 1767}, {5, 9, 1607},
                 {5, 16, 1607}, {5, 17, 0},   {6, 1, 1125}, {6, 12, 1125}, {7, 16, 1125}, {0, 1, 0},    {8, 1, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(RadialFrameCount(g, c.style, c.subStyle), c.frames)
            << "style " << c.style << " sub-style " << c.subStyle;
}

TEST(RadialGeometry, SubStylesAndReversal)
{
    EXPECT_EQ(RadialSubStyleCount(0), 0);
    for (int s : {1, 2, 3, 4, 6})
        EXPECT_EQ(RadialSubStyleCount(s), 8);
    EXPECT_EQ(RadialSubStyleCount(5), 16);
    EXPECT_EQ(RadialSubStyleCount(7), 16);
    EXPECT_EQ(RadialSubStyleCount(9), 1);
    EXPECT_EQ(RadialReversedSubStyle(5, 8), 7);
    EXPECT_EQ(RadialReversedSubStyle(5, 15), 16);
    EXPECT_EQ(RadialReversedSubStyle(1, 1), 2);
    EXPECT_EQ(RadialReversedSubStyle(1, 8), 7);
    EXPECT_EQ(RadialReversedSubStyle(1, 9), 9);
    EXPECT_EQ(RadialReversedSubStyle(6, 10), 10);
    EXPECT_EQ(RadialReversedSubStyle(7, 0), 0);
}

TEST(RadialGeometry, FirstFramesPointWhereTheHandsStart)
{
    const RadialGeometry g = MakeRadialGeometry(640, 480);
    const Point c{320, 240};
    const struct
    {
        int style, subStyle, frame;
        std::vector<std::pair<Point, Point>> lines;  // pivot, end point
    } cases[] = {
        {1, 1, 1, {{c, {320, -1}}}},
        {1, 1, 2, {{c, {321, -1}}}},
        {1, 2, 2, {{c, {319, -1}}}},
        {1, 3, 1, {{c, {641, 240}}}},
        {1, 5, 1, {{c, {320, 481}}}},
        {1, 7, 1, {{c, {-1, 240}}}},
        {2, 1, 1, {{c, {320, -1}}}},
        {2, 1, 2, {{c, {320, 481}}}},
        {2, 1, 3, {{c, {321, -1}}}},
        {2, 5, 2, {{c, {320, -1}}}},
        {2, 5, 4, {{c, {319, -1}}}},
        {3, 1, 1, {{c, {320, -1}}, {c, {641, 240}}, {c, {320, 481}}, {c, {-1, 240}}}},
        {4, 1, 1, {{{-1, 240}, {-1, -1}}}},
        {4, 2, 1, {{{-1, 240}, {-1, 481}}}},
        {4, 4, 1, {{{641, 240}, {641, 481}}}},
        {4, 6, 1, {{{320, -1}, {641, -1}}}},
        {4, 7, 1, {{{320, 481}, {-1, 481}}}},
        {6, 1, 1, {{{-1, -1}, {641, -1}}}},
        {6, 2, 1, {{{-1, -1}, {-1, 481}}}},
        {6, 7, 1, {{{641, 481}, {-1, 481}}}},
        {5, 3, 1, {{{-1, 240}, {-1, -1}}}},
        {5, 3, 2, {{{-1, 240}, {-1, 481}}}},
        {7, 1, 2, {{{-1, -1}, g.PointAt(g.tr + 562)}}},
    };
    for (const auto &k : cases) {
        const int n = RadialFrameCount(g, k.style, k.subStyle);
        const auto wedges = WedgesOf(g, k.style, k.subStyle, k.frame, 1, n);
        ASSERT_EQ(wedges.size(), k.lines.size()) << k.style << "/" << k.subStyle;
        for (size_t i = 0; i < wedges.size(); ++i) {
            const auto vertices = VerticesOf(g, wedges[i]);
            ASSERT_EQ(vertices.size(), 2u);
            EXPECT_EQ(vertices[0], k.lines[i].first) << k.style << "/" << k.subStyle << " #" << i;
            EXPECT_EQ(vertices[1], k.lines[i].second) << k.style << "/" << k.subStyle << " #" << i;
        }
    }
}

TEST(RadialGeometry, WedgesTakeTheActiveCornersTheyPass)
{
    RadialGeometry g = GeometryFor(640, 480, 1, 1);
    const Point c{320, 240};
    // Three positions across the top-right corner.
    auto v = VerticesOf(g, {c, g.tr + 1, 3});
    EXPECT_EQ(v, (std::vector<Point>{c, {640, -1}, {641, -1}, {641, 0}}));
    // Ending on the corner: it is the end point, not an extra vertex.
    v = VerticesOf(g, {c, g.tr, 3});
    EXPECT_EQ(v, (std::vector<Point>{c, {639, -1}, {641, -1}}));
    // Across the wrap from the left edge to the top: the top-left corner (position 1).
    v = VerticesOf(g, {c, 2, 4});
    EXPECT_EQ(v, (std::vector<Point>{c, {-1, 1}, {-1, -1}, {0, -1}}));
    // Pivot L never takes the top-left corner.
    g = GeometryFor(640, 480, 4, 1);
    v = VerticesOf(g, {{-1, 240}, 2, 4});
    EXPECT_EQ(v, (std::vector<Point>{{-1, 240}, {-1, 1}, {0, -1}}));
    v = VerticesOf(g, {{-1, 240}, g.br + 1, g.br - g.tr + 3});
    EXPECT_EQ(v, (std::vector<Point>{{-1, 240}, {640, -1}, {641, -1}, {641, 481}, {640, 481}}));
}

TEST(RadialGeometry, LargerStepsCoverWhatSingleStepsCover)
{
    const RadialGeometry g = MakeRadialGeometry(80, 60);
    for (int style = 1; style <= 7; ++style) {
        for (int sub = 1; sub <= RadialSubStyleCount(style); ++sub) {
            const int n = RadialFrameCount(g, style, sub);
            ASSERT_GT(n, 42);
            Covered single;
            for (int f = 1; f <= 42; ++f)
                for (const auto &w : WedgesOf(g, style, sub, f, 1, n))
                    Cover(g, w, single);
            EXPECT_FALSE(single.empty());
            for (int step : {2, 3, 6, 7}) {
                Covered stepped;
                for (int f = step; f <= 42; f += step)
                    for (const auto &w : WedgesOf(g, style, sub, f, step, n))
                        Cover(g, w, stepped);
                EXPECT_EQ(stepped, single) << "style " << style << " sub " << sub << " step " << step;
            }
        }
    }
}

TEST(RadialGeometry, SingleHandsSweepTheirRangeOnce)
{
    const RadialGeometry g = MakeRadialGeometry(40, 30);
    for (int style : {1, 4, 6}) {
        for (int sub = 1; sub <= 8; ++sub) {
            const int n = RadialFrameCount(g, style, sub);
            Covered all;
            for (int f = 1; f <= n; ++f)
                for (const auto &w : WedgesOf(g, style, sub, f, 1, n))
                    Cover(g, w, all);
            std::set<std::tuple<int, int, int>> distinct(all.begin(), all.end());
            EXPECT_EQ(int(all.size()), n) << style << "/" << sub;
            EXPECT_EQ(distinct.size(), all.size()) << style << "/" << sub;
        }
    }
}

TEST(RadialGeometry, UnknownSubStylesDrawNothing)
{
    const RadialGeometry g = MakeRadialGeometry(40, 30);
    for (int style : {1, 2, 3, 6, 7})
        EXPECT_TRUE(WedgesOf(g, style, 17, 5, 1, RadialFrameCount(g, style, 17)).empty());
    EXPECT_TRUE(WedgesOf(g, 9, 1, 5, 1, 100).empty());
    // The frame's wedges replace those of the previous frame.
    std::vector<RadialWedge> wedges;
    RadialWedges(g, 3, 1, 5, 1, RadialFrameCount(g, 3, 1), wedges);
    EXPECT_EQ(wedges.size(), 4u);
    RadialWedges(g, 3, 9, 5, 1, RadialFrameCount(g, 3, 9), wedges);
    EXPECT_TRUE(wedges.empty());
}

// A wedge all round but one position passes every corner: the most vertices a wedge can have.
TEST(RadialGeometry, WedgesHoldAtMostSevenVertices)
{
    const RadialGeometry g = GeometryFor(20, 10, 1, 1);
    const Point c{10, 5};
    EXPECT_EQ(VerticesOf(g, {c, g.tl + 1, g.total - 1}).size(), std::size_t(kRadialMaxWedgeVertices));
    EXPECT_EQ(VerticesOf(g, {c, g.tr, 1}), (std::vector<Point>{c, {21, -1}}));
}

}  // namespace lumetta
