// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/mono_bitmap.h"
#include "transitions/core/shapes/point.h"

// The 1-bit masks of masked effects (bit 1 = white) and the shapes that mono_paint.h does not
// draw. QPainter's aliased lines and polygon outlines on mono images
// land up to a pixel away from the Bresenham pixels, so they are rasterised here:
// - points are pixel centres: pixel (x, y) belongs to a polygon's interior when the point
//   (x, y) lies inside or on it, so interior and Bresenham outline agree and wedges that
//   share a ray direction leave no gaps;
// - lines are Bresenham lines including both end points;
// everything is clipped to the image, so shapes may reach outside it.
namespace lumetta {

// Width of masks, snapshots and work bitmaps of masked effects: rounded up to 32 pixels.
int MaskedBitmapWidth(int width);

// A mask of MaskedBitmapWidth(width) x height, all bits 0, colours black (0) and white (1).
MonoBitmap CreateMask(int width, int height);

void ClearMask(const PixelView &mask);
void InvertMask(const PixelView &mask);

void MaskLine(const PixelView &mask, Point from, Point to, bool white = true);
// The polygon's interior (non-zero winding) and its outline.
void MaskFillPolygon(const PixelView &mask, const Point *points, int count, bool white = true);

}  // namespace lumetta
