// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_rings.h"

#include <climits>

namespace lumetta {

CircleRings::CircleRings(int cx, int cy, int width, int height, bool grows)
    : cx_(cx),
      cy_(cy),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      reach_(std::max({cx, width - cx, 0})),
      radius_(grows ? 0 : INT_MAX)
{
    // Row pairs with a row inside the picture: cy + k below the centre line, cy - 1 - k above it.
    const int pairs = height_ > 0 ? std::max({height_ - cy, cy, 0}) : 0;
    half_.assign(std::size_t(pairs), grows ? 0 : reach_);
}

}  // namespace lumetta
