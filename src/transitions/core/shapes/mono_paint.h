// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Painting on 1-bit masks and piece bitmaps. Rectangles are (left, top, right, bottom) with
// right and bottom exclusive; everything is clipped to the image. A set bit is white.
namespace lumetta {

// A Format_Mono image with every bit clear; index 0 is black, index 1 white.
QImage NewMonoImage(int width, int height);

void FillMonoRect(QImage &image, int left, int top, int right, int bottom, bool white);

// Fills the ellipse inscribed in the box: a pixel is painted when its centre lies inside or on
// the ellipse.
void FillMonoEllipse(QImage &image, int left, int top, int right, int bottom, bool white);

void SetMonoPixel(QImage &image, int x, int y, bool white);
bool MonoPixel(const QImage &image, int x, int y);

// Sets every pixel of image that is set in source placed with its top-left corner at (x, y).
void OrMonoImage(QImage &image, int x, int y, const QImage &source);

}  // namespace lumetta
