// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/point.h"
#include "transitions/core/shapes/shape_runs.h"
#include "transitions/core/shapes/stepped_quotient.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The pixels of LineRuns and PolygonRuns (shape_runs.h, the reference), found row by row in
// integer arithmetic: a line costs its rows rather than its pixels, and a polygon whose rows
// each cut it once gets one run per row for interior and outline together.
namespace lumetta {

// The runs of LineRuns(from, to, height, run), each row's found without walking its pixels.
template <class Run>
void ScannedLineRuns(Point from, Point to, int height, Run &&run)
{
    const int dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
    // Pixels k0..k1 along x from `from`, as a run of row y.
    auto addRun = [&](int y, std::int64_t k0, std::int64_t k1) {
        if (stepX > 0)
            run(y, int(from.x + k0), int(from.x + k1 + 1));
        else
            run(y, int(from.x - k1), int(from.x - k0 + 1));
    };
    // Rows j = 0..dy of the line, those inside 0..height-1.
    const int first = std::max(0, stepY > 0 ? -from.y : from.y - (height - 1));
    const int last = std::min(dy, stepY > 0 ? height - 1 - from.y : from.y);
    if (first > last)
        return;
    if (dy == 0) {
        addRun(from.y, 0, dx);
        return;
    }
    // The walk steps x while 2dx(j + 1) >= dy(2k + 1) and y while dx(2j + 1) <= 2dy(k + 1), k
    // and j the steps taken along x and y.
    const std::int64_t twoDy = 2 * std::int64_t(dy), twoDx = 2 * std::int64_t(dx);
    int y = from.y + stepY * first;
    if (dx >= dy) {
        // Row j ends at k = floor((dx(2j + 1) - 1) / 2dy), the last row at dx; the next row
        // starts one further.
        SteppedQuotient end(std::int64_t(dx) * (2 * std::int64_t(first) + 1) - 1, twoDy, twoDx);
        std::int64_t start = first == 0 ? 0 : (std::int64_t(dx) * (2 * std::int64_t(first) - 1) - 1) / twoDy + 1;
        for (int j = first; j <= last; ++j, y += stepY) {
            const std::int64_t k1 = j == dy ? dx : end.Floor();
            addRun(y, start, k1);
            start = k1 + 1;
            end.Step();
        }
    } else {
        // One pixel a row, at k = floor((2dx j + dy) / 2dy).
        SteppedQuotient k(twoDx * first + dy, twoDy, twoDx);
        for (int j = first; j <= last; ++j, y += stepY) {
            addRun(y, k.Floor(), k.Floor());
            k.Step();
        }
    }
}

// One row of a scanned polygon: the union of its outline runs and its interior's ends.
struct ScanRow
{
    int lo, hi;  // outline pixels lo..hi-1
    int first, last;  // interior pixels first..last
};

// The pixels of PolygonRuns(points, count, height, crossings, run) from column -1 on, where the
// reference cuts interiors short. When every row cuts the polygon in one piece (its outline goes
// down once and up once), a row's interior and outline join into one run; otherwise PolygonRuns
// draws it. rows and crossings are scratch space kept by the caller between calls.
template <class Run>
void ScannedPolygonRuns(const Point *points, int count, int height, std::vector<ScanRow> &rows,
                        std::vector<PolygonCrossing> &crossings, Run &&run)
{
    if (count <= 0)
        return;
    int minY = points[0].y, maxY = points[0].y;
    int turns = 0, direction = 0;
    for (int i = 0; i < count; ++i) {
        minY = std::min(minY, points[i].y);
        maxY = std::max(maxY, points[i].y);
        const int change = points[(i + 1) % count].y - points[i].y;
        if (change == 0)
            continue;
        const int sign = change > 0 ? 1 : -1;
        if (direction != 0 && sign != direction)
            ++turns;
        direction = sign;
    }
    // Around the closed outline the last direction meets the first again.
    for (int i = 0; i < count && direction != 0; ++i) {
        const int change = points[(i + 1) % count].y - points[i].y;
        if (change != 0) {
            turns += (change > 0 ? 1 : -1) != direction;
            break;
        }
    }
    if (turns > 2) {
        PolygonRuns(points, count, height, crossings, run);
        return;
    }
    const int top = std::max(minY, 0), bottom = std::min(maxY, height - 1);
    if (top > bottom)
        return;
    rows.assign(std::size_t(bottom - top + 1), {INT_MAX, INT_MIN, INT_MAX, INT_MIN});
    // Row y of the polygon is rows[y - top].
    ScanRow *row = rows.data();
    for (int i = 0; i < count; ++i) {
        const Point p = points[i], q = points[(i + 1) % count];
        ScannedLineRuns(p, q, height, [row, top](int y, int x0, int x1) {
            row[y - top].lo = std::min(row[y - top].lo, x0);
            row[y - top].hi = std::max(row[y - top].hi, x1);
        });
        if (p.y == q.y)
            continue;
        // Rows a.y..b.y-1 cut the edge at x = a.x + (y - a.y)(b.x - a.x) / (b.y - a.y).
        const Point a = p.y < q.y ? p : q, b = p.y < q.y ? q : p;
        const int from = std::max(a.y, top), to = std::min(b.y - 1, bottom);
        if (from > to)
            continue;
        const std::int64_t span = b.y - a.y, across = b.x - a.x;
        SteppedQuotient x(std::int64_t(from - a.y) * across, span, across);
        for (int y = from; y <= to; ++y, x.Step()) {
            // Far-off vertices give interiors beyond any picture; they are cut to what an int holds.
            const auto ceiling = int(std::clamp<std::int64_t>(a.x + x.Ceil(), -1, 1 << 30));
            const auto floor = int(std::clamp<std::int64_t>(a.x + x.Floor(), -2, (1 << 30) - 1));
            row[y - top].first = std::min(row[y - top].first, ceiling);
            row[y - top].last = std::max(row[y - top].last, floor);
        }
    }
    for (int y = top; y <= bottom; ++y) {
        ScanRow r = row[y - top];
        if (r.first <= r.last) {
            r.lo = std::min(r.lo, r.first);
            r.hi = std::max(r.hi, r.last + 1);
        }
        if (r.lo < r.hi)
            run(y, r.lo, r.hi);
    }
}

}  // namespace lumetta
