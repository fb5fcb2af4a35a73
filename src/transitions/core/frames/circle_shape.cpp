// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_shape.h"

#include "transitions/core/shapes/mono_paint.h"

namespace lumetta {

int CircleShape::Begin(int width, int height, int style, int subStyle)
{
    plan_ = MakeCirclePlan(width, height, style, subStyle);
    frames_.emplace(plan_, width, height);
    rings_.emplace(plan_.cx, plan_.cy, width, height, plan_.grows);
    return plan_.frames;
}

std::optional<CircleFrame> CircleShape::Next(int frame, int step)
{
    if (!plan_.draws)
        return std::nullopt;
    return frames_->Frame(frame, step);
}

void CircleShape::PaintMask(const PixelView &mask, const CircleFrame &frame)
{
    const HalfOpenRect &d = frame.disc;
    FillMonoEllipse(mask, d.left, d.top, d.right, d.bottom, true);
}

}  // namespace lumetta
