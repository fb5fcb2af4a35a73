// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/headless_run.h"

#include "transitions/engine/transition_aborted.h"
#include "transitions/engine/transition_effect.h"

namespace lumetta {

HeadlessRun RunHeadless(TTransitionEffect &effect, const QImage &from, const QImage &to, const FrameStepping &stepping,
                        ColorRef controlColor)
{
    HeadlessRun run;
    FrameStepping counting = stepping;
    counting.passStarted = [&](int pass, int frameCount) {
        (pass == 1 ? run.frameCount : run.secondPassFrameCount) = frameCount;
        if (stepping.passStarted)
            stepping.passStarted(pass, frameCount);
    };
    try {
        effect.ExecuteOnImages(from, to, run.final, &counting, controlColor);
    } catch (const TransitionAborted &) {
        run.aborted = true;
    }
    return run;
}

}  // namespace lumetta
