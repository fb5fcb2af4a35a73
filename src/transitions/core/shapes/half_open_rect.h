// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace lumetta {

// Rectangle with exclusive right and bottom, as the effects compute their strips.
struct HalfOpenRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    int Width() const { return Right - Left; }
    // An empty rectangle becomes a null QRect.
    QRect ToQRect() const;
};

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b);

// Smallest rectangle holding both; an empty operand is ignored.
HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b);

}  // namespace lumetta
