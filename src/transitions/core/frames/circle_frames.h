// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/circle_plan.h"

#include <QRect>

namespace lumetta {

// The rectangles of one frame, in picture coordinates.
struct CircleFrame
{
    int radius = 0;
    QRect disc;  // the box the disc is inscribed in, not clipped
    QRect update;  // what changes, clipped to the picture
    QRect unchanged;  // the part of update that still shows the same picture; may be empty
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
    QRect picture_;
    int previousRadius_ = 0;
    QRect previous_;
    QRect next_;
};

}  // namespace lumetta
