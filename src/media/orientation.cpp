// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/orientation.h"

#include <QTransform>

namespace lumetta {

int ValidOrientation(int orientation)
{
    return orientation >= 1 && orientation <= 8 ? orientation : kUpright;
}

bool OrientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

QSize OrientedSize(QSize stored, int orientation)
{
    return OrientationSwapsSides(orientation) ? stored.transposed() : stored;
}

QPoint OrientedPoint(QPoint stored, QSize storedSize, int orientation)
{
    const int x = stored.x(), y = stored.y();
    const int w = storedSize.width(), h = storedSize.height();
    switch (ValidOrientation(orientation)) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {h - 1 - y, x};
    case 7:
        return {h - 1 - y, w - 1 - x};
    case 8:
        return {y, w - 1 - x};
    default:
        return stored;
    }
}

QImage OrientImage(const QImage &stored, int orientation)
{
    // Qt turns by quarter turns and mirrors with row copies; a transposition is a quarter
    // turn plus a mirror, which keeps every step on those fast paths.
    const auto turned = [&](int degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (ValidOrientation(orientation)) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5:
        return turned(90).mirrored(true, false);
    case 6:
        return turned(90);
    case 7:
        return turned(90).mirrored(false, true);
    case 8:
        return turned(270);
    default:
        return stored;
    }
}

}  // namespace lumetta
