// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/radial_geometry.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"
#include "transitions/core/shapes/point.h"
#include "transitions/core/shapes/scanned_runs.h"

#include <algorithm>
#include <vector>

namespace lumetta {

// The radial sweeps' frames: each frame paints the wedges its hands swept since the last.
class RadialShape
{
public:
    // Starts a pass over a width x height area and returns its frame count.
    int Begin(int width, int height, int style, int subStyle);

    // Calls paint(vertices, count) for each wedge of the frame (two vertices for a line) and
    // returns the rectangle around them (empty for a frame without wedges).
    template <class Paint>
    HalfOpenRect ForEachWedge(int frame, int step, int frameCount, const Paint &paint)
    {
        HalfOpenRect bounds;
        RadialWedges(geometry_, style_, subStyle_, frame, step, frameCount, wedges_);
        for (const RadialWedge &wedge : wedges_) {
            Point vertices[kRadialMaxWedgeVertices];
            const int count = RadialWedgeVertices(geometry_, wedge, vertices);
            paint(vertices, count);
            int left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
            for (int i = 1; i < count; ++i) {
                left = std::min(left, vertices[i].x);
                right = std::max(right, vertices[i].x);
                top = std::min(top, vertices[i].y);
                bottom = std::max(bottom, vertices[i].y);
            }
            bounds = Union(bounds, {left, top, right + 1, bottom + 1});
        }
        return bounds;
    }

    // Paints the frame's wedges white on the mask; returns the rectangle around them.
    HalfOpenRect PaintMask(const PixelView &mask, int frame, int step, int frameCount);

    // Reports the pixels of the frame's wedges as runs of rows, run(y, x0, x1), on an area of
    // `height` rows; returns the rectangle around them.
    template <class Run>
    HalfOpenRect PaintRuns(int frame, int step, int frameCount, int height, Run &&run)
    {
        return ForEachWedge(frame, step, frameCount, [&](const Point *vertices, int count) {
            if (count == 2)
                ScannedLineRuns(vertices[0], vertices[1], height, run);
            else
                ScannedPolygonRuns(vertices, count, height, scanRows_, crossings_, run);
        });
    }

private:
    RadialGeometry geometry_;
    int style_ = 1;
    int subStyle_ = 1;
    // Scratch space kept from frame to frame.
    std::vector<RadialWedge> wedges_;
    std::vector<PolygonCrossing> crossings_;
    std::vector<ScanRow> scanRows_;
};

}  // namespace lumetta
