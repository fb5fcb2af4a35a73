// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/step_requests.h"

namespace lumetta {

void StepRequests::AskJump(Jump jump)
{
    batch_.jump = jump;
    batch_.move = 0;
}

void StepRequests::AskStep(int direction, Source source)
{
    const int side = direction > 0 ? 1 : 0;
    if (source == Source::AutoRepeat || source == Source::Wheel) {
        bool &counted = source == Source::AutoRepeat ? repeatCounted_[side] : wheelCounted_[side];
        if (counted)
            return;
        counted = true;
    }
    batch_.move += direction > 0 ? 1 : -1;
}

StepRequests::Batch StepRequests::Take()
{
    const Batch taken = batch_;
    Clear();
    return taken;
}

void StepRequests::Clear()
{
    batch_ = Batch();
    repeatCounted_[0] = repeatCounted_[1] = false;
    wheelCounted_[0] = wheelCounted_[1] = false;
}

}  // namespace lumetta
