// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_plan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetta {

TEST(CirclePlan, CentresAndFrameCounts)
{
    struct Case
    {
        int style, sub, cx, cy, frames;
        bool grows, draws;
    } cases[] = {
        {1, 1, 400, 300, 500, true, true},   {1, 2, 400, 300, 500, false, true},
        {1, 3, 400, 300, 500, true, false},  {2, 1, 0, 0, 1000, true, true},
        {2, 6, 800, 600, 1000, false, true}, {2, 3, 0, 600, 1000, true, true},
        {2, 8, 800, 0, 1000, false, true},   {2, 9, 0, 0, 1000, true, false},
        {3, 1, 0, 300, 854, true, true},  // sqrt(300^2 + 800^2) = 854.4
        {3, 6, 800, 300, 854, false, true},  {3, 3, 400, 0, 721, true, true},  // sqrt(600^2 + 400^2) = 721.1
        {3, 8, 400, 600, 721, false, true},  {3, 9, 0, 0, 0, true, false},
        {4, 1, 0, 0, 0, true, false},        {0, 1, 0, 0, 0, true, false},
    };
    for (const Case &c : cases) {
        const CirclePlan p = MakeCirclePlan(800, 600, c.style, c.sub);
        SCOPED_TRACE(testing::Message() << c.style << "/" << c.sub);
        EXPECT_EQ(p.frames, c.frames);
        EXPECT_EQ(p.draws, c.draws);
        if (c.draws) {
            EXPECT_EQ(p.cx, c.cx);
            EXPECT_EQ(p.cy, c.cy);
            EXPECT_EQ(p.grows, c.grows);
        }
    }
}

TEST(CirclePlan, SubStyleCountsAndReversal)
{
    EXPECT_EQ(CircleSubStyleCount(0), 0);
    EXPECT_EQ(CircleSubStyleCount(1), 2);
    EXPECT_EQ(CircleSubStyleCount(2), 8);
    EXPECT_EQ(CircleSubStyleCount(3), 8);
    EXPECT_EQ(CircleSubStyleCount(4), 1);
    EXPECT_EQ(CircleReversedSubStyle(1, 1), 2);
    EXPECT_EQ(CircleReversedSubStyle(1, 2), 1);
    EXPECT_EQ(CircleReversedSubStyle(1, 5), 5);
    EXPECT_EQ(CircleReversedSubStyle(2, 3), 7);
    EXPECT_EQ(CircleReversedSubStyle(3, 8), 4);
    EXPECT_EQ(CircleReversedSubStyle(4, 1), 1);
}

}  // namespace lumetta
