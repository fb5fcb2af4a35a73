// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/pixel_view.h"

// Painting on 1-bit masks and piece bitmaps (views of PixelLayout::Mono, such as a MonoBitmap's).
// Rectangles are (left, top, right, bottom) with right and bottom exclusive; everything is
// clipped to the image. A set bit is white.
namespace lumetta {

void FillMonoRect(const PixelView &image, int left, int top, int right, int bottom, bool white);

// Fills the ellipse inscribed in the box: a pixel is painted when its centre lies inside or on
// the ellipse.
void FillMonoEllipse(const PixelView &image, int left, int top, int right, int bottom, bool white);

void SetMonoPixel(const PixelView &image, int x, int y, bool white);
bool MonoPixel(const ConstPixelView &image, int x, int y);

// Sets every pixel of image that is set in source placed with its top-left corner at (x, y).
void OrMonoImage(const PixelView &image, int x, int y, const ConstPixelView &source);

}  // namespace lumetta
