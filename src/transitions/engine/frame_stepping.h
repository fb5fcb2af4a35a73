// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <functional>

namespace lumetta {

// What a tool or benchmark asks of a headless run: which frames are drawn and a look at each.
struct FrameStepping
{
    // Frames S, 2S, 3S, ... below the frame count are drawn, each with step S.
    int step = 1;
    // When set, replaces Step: the frame to draw after frame Prev (0 at the start of a pass),
    // greater than Prev; one at or past the frame count ends the pass. A video takes the frames
    // a paced loop would show at its own frame times.
    std::function<int(int pass, int frameCount, int prev)> nextFrame;
    // Called when a frame pass starts (pass 1 or 2) with the count from Initialize.
    std::function<void(int pass, int frameCount)> passStarted;
    // Called after each drawn frame was flushed, with what the area shows.
    std::function<void(int pass, int frame, const QImage &shown)> frameShown;
    // Called when a frame pass has shown its final picture.
    std::function<void(int pass, const QImage &shown)> passShown;
};

}  // namespace lumetta
