// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/half_open_rect.h"

#include <algorithm>

namespace lumetta {

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b)
{
    HalfOpenRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? HalfOpenRect{} : r;
}

HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace lumetta
