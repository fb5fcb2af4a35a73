// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/replacement_file.h"
#include "export/video_format.h"

#include <QSize>

#include <cstdint>
#include <optional>

namespace lumetta {

// How a show becomes a video: the frame size and rate, the generator's seed, how long a slide of
// a manual show stays, the encoders' quality and whether a file already at the target is replaced.
struct ExportSettings
{
    QSize size{1920, 1080};
    FrameRate fps = 30;
    // Seeds the shared generator and stands in for the clock the effects seed it from, so the
    // same seed gives the same video; none seeds from the clock.
    std::optional<std::uint32_t> seed;
    // A manual show has no interval of its own.
    double slideSeconds = 5;
    ExportQuality quality = ExportQuality::Good;
    // Refuse: the export fails when a file stands at the target when the video is complete.
    ReplacementFile::Existing existing = ReplacementFile::Existing::Replace;
};

}  // namespace lumetta
