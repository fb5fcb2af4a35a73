// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetta {

// Rectangle with exclusive right and bottom, as the effects compute their strips.
struct HalfOpenRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b);

// Smallest rectangle holding both; an empty operand is ignored.
HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b);

}  // namespace lumetta
