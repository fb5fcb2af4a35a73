// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pass drawn by the transition core alone, with nothing of Qt: what a program without it sees.

#include "transitions/core/frames/transition_frames.h"
#include "transitions/core/pixels/pixel_view.h"

#include <cstdint>
#include <map>
#include <vector>

namespace lumetta::test {

using PixelRows = std::vector<std::uint8_t>;

struct CorePass
{
    int frameCount = 0;
    // The visible rows of every frame 1..frameCount-1, then of the last picture.
    std::map<int, PixelRows> frames;
    PixelRows last;
};

// Draws every frame of a pass from oldPicture to newPicture (same size, layout and stride).
CorePass RunCorePass(const TransitionSettings &settings, const ConstPixelView &oldPicture,
                     const ConstPixelView &newPicture);

// The width x height rows of a picture, without the padding at their ends.
PixelRows VisibleRows(const ConstPixelView &picture, int width, int height);

}  // namespace lumetta::test
