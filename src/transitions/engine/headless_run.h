// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/bitmap.h"
#include "transitions/engine/frame_stepping.h"

#include <QImage>

namespace lumetta {

class TTransitionEffect;

// What one run of an effect without a window gave.
struct HeadlessRun
{
    int frameCount = -1;  // from the first pass's Initialize; -1 when no pass started
    int secondPassFrameCount = -1;  // -1 without a second pass
    QImage final;  // what the area shows at the end: the new picture
    bool aborted = false;  // ended by the silent abort (a pass without frames)
};

// Runs effect from `from` to `to` on images, as tests, benchmarks, lumetta-fx and the video
// export do; stepping's callbacks see the passes and frames. controlColor stands in for the
// control's colour of a solid intermediate picture. Failures other than the silent abort propagate.
HeadlessRun RunHeadless(TTransitionEffect &effect, const QImage &from, const QImage &to,
                        const FrameStepping &stepping = {}, ColorRef controlColor = 0xF0F0F0);

}  // namespace lumetta
