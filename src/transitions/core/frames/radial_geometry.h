// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/point.h"

#include <vector>

// Geometry of the radial sweeps: hands turning about a pivot and painting, each frame, the
// wedge between the perimeter positions they passed since the previous frame.
namespace lumetta {

// The perimeter one pixel outside the picture, walked clockwise as positions 1..Total, and
// the corners that may become polygon vertices for the style in use.
struct RadialGeometry
{
    enum Corner { TopLeft = 1, TopRight = 2, BottomRight = 4, BottomLeft = 8 };

    int w = 1;  // picture width, made odd by adding 1 when even
    int h = 1;  // likewise the height
    int total = 8;
    Point centre;
    int tl = 1, tr = 3, br = 5, bl = 7;  // positions of the corners
    int activeCorners = TopLeft | TopRight | BottomRight | BottomLeft;

    // p taken modulo the perimeter into 1..total.
    int Wrap(int p) const;
    // The point of (wrapped) position p.
    Point PointAt(int p) const;
};

RadialGeometry MakeRadialGeometry(int width, int height);

// The area swept over `count` positions ending at position `end`: a line when count is 1.
struct RadialWedge
{
    Point pivot;
    int end = 1;
    int count = 1;
};

// Frames of a style and sub-style; 0 for a style outside 1..7 or a sub-style outside the
// table of styles 4 and 5.
int RadialFrameCount(const RadialGeometry &g, int style, int subStyle);

// Which corners may be vertices for the pivots of this style and sub-style.
int RadialActiveCorners(int style, int subStyle);

// Sub-styles a style offers: 8 or 16, 0 for style 0, 1 outside the table.
int RadialSubStyleCount(int style);

// The odd sub-style and the even one after it exchanged.
int RadialReversedSubStyle(int style, int subStyle);

// The wedges frame `frame` paints, `step` frames after the previous one, in place of those in
// `wedges` (which keeps its storage from frame to frame).
void RadialWedges(const RadialGeometry &g, int style, int subStyle, int frame, int step, int frameCount,
                  std::vector<RadialWedge> &wedges);

// A wedge has at most the pivot, its two end points and the four corners.
constexpr int kRadialMaxWedgeVertices = 7;

// Vertices of a wedge, returning their count: pivot and end point for a line; otherwise pivot,
// start point, the active corners passed strictly between start and end, end point.
int RadialWedgeVertices(const RadialGeometry &g, const RadialWedge &wedge, Point (&vertices)[kRadialMaxWedgeVertices]);

}  // namespace lumetta
