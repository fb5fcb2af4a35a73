#pragma once

#include "transitions/frame_stepping.h"

#include <QImage>

class TTransitionEffect;

// What one run of an effect without a window gave.
struct HeadlessRun
{
    int frameCount = -1;            // from the first pass's Initialize; -1 when no pass started
    int secondPassFrameCount = -1;  // -1 without a second pass
    QImage final;                   // what the area shows at the end: the new picture
    bool aborted = false;           // ended by the silent abort (a pass without frames)
};

// Runs effect from `from` to `to` on images, as tests, benchmarks and lumetta-fx do; stepping's
// callbacks see the passes and frames. Failures other than the silent abort propagate.
HeadlessRun RunHeadless(TTransitionEffect &effect, const QImage &from, const QImage &to,
                        const FrameStepping &stepping = {});
