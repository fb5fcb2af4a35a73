// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/step_requests.h"

#include <gtest/gtest.h>

using namespace lumetta;

TEST(StepRequests, MergesWhatWasAskedUntilTaken)
{
    using Source = StepRequests::Source;
    StepRequests requests;
    EXPECT_TRUE(requests.Empty());
    requests.AskStep(1, Source::Key);
    requests.AskStep(1, Source::AutoRepeat);
    requests.AskStep(1, Source::AutoRepeat);
    requests.AskStep(-1, Source::Wheel);
    requests.AskStep(-1, Source::Wheel);
    requests.AskStep(1, Source::Click);
    requests.AskPause();
    StepRequests::Batch batch = requests.Take();
    EXPECT_EQ(batch.move, 2);
    EXPECT_TRUE(batch.pauseToggled);
    EXPECT_FALSE(batch.escape);
    EXPECT_TRUE(requests.Empty());
    // Taken: auto-repeat and the wheel count once more.
    requests.AskStep(1, Source::AutoRepeat);
    requests.AskStep(-1, Source::Wheel);
    requests.AskJump(StepRequests::Jump::Last);
    requests.AskStep(-1, Source::Key);
    requests.AskHelp();
    requests.AskEscape();
    batch = requests.Take();
    EXPECT_EQ(batch.jump, StepRequests::Jump::Last);
    EXPECT_EQ(batch.move, -1);
    EXPECT_TRUE(batch.help);
    EXPECT_TRUE(batch.escape);
    requests.AskPause();
    requests.AskPause();
    EXPECT_TRUE(requests.Empty());
}
