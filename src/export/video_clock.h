// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/frame_rate.h"

#include <cstdint>

namespace lumetta {

// Times of a video's frames in whole milliseconds of show time, computed exactly: frame j lies
// at j * 1000 / fps ms, for a fractional rate too.
class VideoClock
{
public:
    explicit VideoClock(FrameRate fps) : fps_(fps) {}

    // The first frame at or after `ms`.
    std::int64_t FirstFrameAt(std::int64_t ms) const;
    // Where frame `frame` lies, in milliseconds (fractions kept).
    double TimeOf(std::int64_t frame) const { return double(frame) * 1000.0 * fps_.den / fps_.num; }
    // The frame a paced pass of `frameCount` frames over `passMs` ms shows at video frame
    // `frame` when the pass started at `passStartMs`: on a machine that draws every frame in
    // time, frame k shows from (k - 1) * passMs / frameCount on, and the last frame (the new
    // picture, frameCount) from (frameCount - 1) * passMs / frameCount. Never below 1 nor above
    // frameCount.
    int PacedFrameAt(std::int64_t frame, std::int64_t passStartMs, int frameCount, int passMs) const;

private:
    FrameRate fps_;
};

}  // namespace lumetta
