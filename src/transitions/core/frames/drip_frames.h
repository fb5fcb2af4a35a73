// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/travel_direction.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"

namespace lumetta {

// The frames of a drip: the new picture settles line by line from one edge, and the line at the
// settling edge is smeared over the rest of the area. Up, and every direction that is not
// Right, Left or Down, drips upwards.
class DripFrames
{
public:
    // Starts a pass over a width x height area and returns its frame count.
    int Begin(TravelDirection direction, int width, int height);

    // Settles step more lines onto target, which holds the frame drawn before, and smears the
    // last of them over the rest; returns what changed, clipped to the area.
    HalfOpenRect Draw(int step, const ConstPixelView &newPicture, const PixelView &target);

private:
    TravelDirection direction_ = TravelDirection::Left;
    int width_ = 0;
    int height_ = 0;
    HalfOpenRect strip_;
    HalfOpenRect remaining_;
};

}  // namespace lumetta
