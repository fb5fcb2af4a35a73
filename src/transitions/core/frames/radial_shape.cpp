// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/radial_shape.h"

#include "transitions/core/shapes/mask_paint.h"

namespace lumetta {

int RadialShape::Begin(int width, int height, int style, int subStyle)
{
    style_ = style;
    subStyle_ = subStyle;
    geometry_ = MakeRadialGeometry(width, height);
    geometry_.activeCorners = RadialActiveCorners(style, subStyle);
    return RadialFrameCount(geometry_, style, subStyle);
}

HalfOpenRect RadialShape::PaintMask(const PixelView &mask, int frame, int step, int frameCount)
{
    return ForEachWedge(frame, step, frameCount, [&](const Point *vertices, int count) {
        if (count == 2)
            MaskLine(mask, vertices[0], vertices[1]);
        else
            MaskFillPolygon(mask, vertices, count);
    });
}

}  // namespace lumetta
