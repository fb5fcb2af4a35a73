// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/point.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The pixels of the lines and polygons the shape effects paint, as runs of one row: run(y, x0,
// x1) covers pixels x0..x1-1 of row y. The same runs paint a 1-bit mask (mask_paint.h) or copy
// pixels straight from the new picture (new_pixel_runs.h), so both show the same shape. Rows
// outside 0..height-1 are left out; columns are not clipped. Runs may overlap.
namespace lumetta {

// A Bresenham line including both end points, each row's pixels as one run.
template <class Run>
void LineRuns(Point from, Point to, int height, Run &&run)
{
    int x = from.x, y = from.y;
    const int dx = std::abs(to.x - x), dy = -std::abs(to.y - y);
    const int stepX = x < to.x ? 1 : -1, stepY = y < to.y ? 1 : -1;
    int err = dx + dy;
    int runStart = x;
    for (;;) {
        const bool last = x == to.x && y == to.y;
        const int e2 = 2 * err;
        const bool nextRow = !last && e2 <= dx;
        if (last || nextRow) {
            if (y >= 0 && y < height)
                run(y, std::min(runStart, x), std::max(runStart, x) + 1);
            if (last)
                return;
        }
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (nextRow) {
            err += dx;
            y += stepY;
            runStart = x;
        }
    }
}

// A polygon's interior (non-zero winding; pixel (x, y) belongs to it when the point (x, y) lies
// inside or on it, so interior and outline agree and wedges sharing a ray leave no gaps), then
// its outline as lines. crossings is scratch space kept by the caller between calls.
struct PolygonCrossing
{
    double x;
    int winding;
};

template <class Run>
void PolygonRuns(const Point *points, int count, int height, std::vector<PolygonCrossing> &crossings, Run &&run)
{
    if (count <= 0)
        return;
    int minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min(minY, points[i].y);
        maxY = std::max(maxY, points[i].y);
    }
    const int y0 = std::max(minY, 0);
    const int y1 = std::min(maxY, height);
    for (int y = y0; y < y1; ++y) {
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const Point p = points[i];
            const Point q = points[(i + 1) % count];
            if (p.y == q.y)
                continue;
            const bool down = q.y > p.y;
            const int lo = down ? p.y : q.y;
            const int hi = down ? q.y : p.y;
            if (y < lo || y >= hi)
                continue;
            const double x = p.x + double(y - p.y) * double(q.x - p.x) / double(q.y - p.y);
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const PolygonCrossing &l, const PolygonCrossing &r) { return l.x < r.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding == 0)
                continue;
            const auto first = std::int64_t(std::ceil(crossings[i].x));
            const auto last = std::int64_t(std::floor(crossings[i + 1].x));
            // Far-off vertices give runs beyond any picture; they are cut to what an int holds.
            const std::int64_t lo = std::max<std::int64_t>(first, -1), hi = std::min<std::int64_t>(last + 1, 1 << 30);
            if (lo < hi)
                run(y, int(lo), int(hi));
        }
    }
    for (int i = 0; i < count; ++i)
        LineRuns(points[i], points[(i + 1) % count], height, run);
}

}  // namespace lumetta
