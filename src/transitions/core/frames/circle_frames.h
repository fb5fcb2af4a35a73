// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/circle_plan.h"
#include "transitions/core/shapes/half_open_rect.h"

namespace lumetta {

// The rectangles of one frame, in picture coordinates.
struct CircleFrame
{
    int radius = 0;
    HalfOpenRect disc;  // the box the disc is inscribed in, not clipped
    HalfOpenRect update;  // what changes, clipped to the picture
    HalfOpenRect unchanged;  // the part of update that still shows the same picture; may be empty
};

// Walks the frames of one pass, keeping the previous frame's bounds.
class CircleFrames
{
public:
    CircleFrames(const CirclePlan &plan, int width, int height);
    // Frame `current`, drawn `step` frames after the previous call; frames come in increasing order.
    CircleFrame Frame(int current, int step);

private:
    CirclePlan plan_;
    HalfOpenRect picture_;
    int previousRadius_ = 0;
    HalfOpenRect previous_;
    HalfOpenRect next_;
};

}  // namespace lumetta
