// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/pixel_size.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"
#include "transitions/core/shapes/point.h"

namespace lumetta {

// A copy of rectangle from of one picture to the place whose top-left corner is to in another.
struct PixelCopy
{
    HalfOpenRect from;
    Point to;
};

// The copy clipped to both pictures, both corners moving together; from is empty when nothing
// is left to copy.
PixelCopy ClipPixelCopy(PixelSize dstSize, Point to, PixelSize srcSize, const HalfOpenRect &from);

// Copies rectangle from of src to dst with its top-left corner at to, clipped to both. Both
// pictures have the same layout (and, for Indexed8, the same palette).
void CopyPixels(const PixelView &dst, Point to, const ConstPixelView &src, const HalfOpenRect &from);

// Copies rectangle r of src to the same place in dst.
inline void CopyPixels(const PixelView &dst, const ConstPixelView &src, const HalfOpenRect &r)
{
    CopyPixels(dst, {r.left, r.top}, src, r);
}

}  // namespace lumetta
