// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Qt layer's edge with the core: pictures become views on the same memory, rectangles and
// points change type. Nothing here copies pixels.

#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"
#include "transitions/core/shapes/point.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace lumetta {

// The same x, y, width and height: an empty rectangle stays as empty as it was.
inline QRect QRectOf(const HalfOpenRect &rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// An empty rectangle becomes QRect(), which a frame's update rectangle reads as the whole area.
inline QRect QRectOrNull(const HalfOpenRect &rect)
{
    return rect.IsEmpty() ? QRect() : QRectOf(rect);
}

inline HalfOpenRect HalfOpenRectOf(const QRect &rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

inline QPoint QPointOf(Point point)
{
    return QPoint(point.x, point.y);
}

inline Point PointOf(QPoint point)
{
    return {point.x(), point.y()};
}

// How the core reads a QImage format; Other for formats the engine does not draw on.
PixelLayout PixelLayoutOf(QImage::Format format);

// A view that writes image's pixels: image is detached first when it shares them, as
// QImage::bits() does, so call it once per frame, not per row.
PixelView WritableView(QImage &image);

// A view that reads image's pixels without detaching it.
ConstPixelView ReadView(const QImage &image);

}  // namespace lumetta
