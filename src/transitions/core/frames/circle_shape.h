// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/circle_frames.h"
#include "transitions/core/frames/circle_plan.h"
#include "transitions/core/frames/circle_rings.h"
#include "transitions/core/pixels/pixel_view.h"

#include <optional>

namespace lumetta {

// The circle effect's frames: a disc growing from or shrinking to its centre.
class CircleShape
{
public:
    // Starts a pass over a width x height area and returns its frame count.
    int Begin(int width, int height, int style, int subStyle);
    // True when the disc shows the new picture (it grows); false when it shrinks over the old.
    bool WhiteIsNew() const { return plan_.grows; }

    // The rectangles of frame `frame`, `step` frames after the previous one; nullopt for a
    // sub-style the style does not offer, whose frames leave the old picture showing.
    std::optional<CircleFrame> Next(int frame, int step);
    // Paints the frame's disc white on the mask.
    static void PaintMask(const PixelView &mask, const CircleFrame &frame);
    // Reports the ring between the last disc and the frame's as runs of rows, run(y, x0, x1).
    template <class Run>
    void RingRuns(const CircleFrame &frame, Run &&run)
    {
        rings_->MoveTo(frame.radius, run);
    }

private:
    CirclePlan plan_;
    std::optional<CircleFrames> frames_;
    std::optional<CircleRings> rings_;
};

}  // namespace lumetta
