// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/half_open_rect.h"

#include <algorithm>

namespace lumetta {

QRect HalfOpenRect::ToQRect() const
{
    return IsEmpty() ? QRect() : QRect(Left, Top, Right - Left, Bottom - Top);
}

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b)
{
    HalfOpenRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                   std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? HalfOpenRect{} : r;
}

HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

}  // namespace lumetta
