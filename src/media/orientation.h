// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

namespace lumetta {

// EXIF orientation values: how stored pixels must be turned to stand upright.
//   1 as stored            2 mirrored left-right     3 turned 180 degrees   4 mirrored top-bottom
//   5 transposed           6 turned 90 degrees clockwise
//   7 transversed          8 turned 90 degrees counter-clockwise
inline constexpr int kUpright = 1;

// 1 to 8 stay; anything else (0, a damaged tag) counts as 1.
int ValidOrientation(int orientation);
// Orientations 5 to 8 exchange width and height.
bool OrientationSwapsSides(int orientation);
QSize OrientedSize(QSize stored, int orientation);
// Where the stored pixel (x, y) of a width x height picture lands in the upright picture.
QPoint OrientedPoint(QPoint stored, QSize storedSize, int orientation);

// The stored picture turned upright, in the same pixel format.
QImage OrientImage(const QImage &stored, int orientation);

}  // namespace lumetta
