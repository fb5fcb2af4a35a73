// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_clock.h"

#include <algorithm>

namespace lumetta {

std::int64_t VideoClock::FirstFrameAt(std::int64_t ms) const
{
    if (ms <= 0)
        return 0;
    const std::int64_t scale = std::int64_t(1000) * fps_.den;
    return (ms * fps_.num + scale - 1) / scale;
}

int VideoClock::PacedFrameAt(std::int64_t frame, std::int64_t passStartMs, int frameCount, int passMs) const
{
    if (frameCount <= 1 || passMs <= 0)
        return std::max(frameCount, 1);
    // Elapsed time in units of 1/num ms: frame * 1000 * den - passStart * num.
    const std::int64_t elapsed = frame * 1000 * fps_.den - passStartMs * fps_.num;
    if (elapsed < 0)
        return 1;
    const std::int64_t shown = elapsed * frameCount / (std::int64_t(passMs) * fps_.num) + 1;
    return int(std::min<std::int64_t>(shown, frameCount));
}

}  // namespace lumetta
