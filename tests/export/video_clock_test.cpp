// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_clock.h"

#include <gtest/gtest.h>

using namespace lumetta;

TEST(VideoClock, FirstFrameAtOrAfterATime)
{
    const struct
    {
        FrameRate fps;
        std::int64_t ms;
        std::int64_t frame;
    } cases[] = {
        {10, 0, 0},
        {10, 1, 1},
        {10, 100, 1},
        {10, 101, 2},
        {10, 2000, 20},
        {30, 1000, 30},
        {30, 34, 2},
        {30, 33, 1},
        {25, 1700, 43},
        {60, -5, 0},
        // 30000/1001: frame j at j * 1001 / 30 ms.
        {{30000, 1001}, 33, 1},
        {{30000, 1001}, 34, 2},
        {{30000, 1001}, 1000, 30},
        {{30000, 1001}, 1001, 30},
        {{30000, 1001}, 1002, 31},
        {{30000, 1001}, 60060, 1800},
        {{25, 2}, 80, 1},
        {{25, 2}, 81, 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VideoClock(c.fps).FirstFrameAt(c.ms), c.frame)
            << c.fps.Text().toStdString() << " fps, " << c.ms << " ms";
}

TEST(VideoClock, AFractionalRateKeepsExactTime)
{
    const VideoClock clock(FrameRate(30000, 1001));
    EXPECT_DOUBLE_EQ(clock.TimeOf(30), 1001.0);
    EXPECT_DOUBLE_EQ(clock.TimeOf(1800), 60060.0);
    // 10 frames over 1001 ms: frame k from (k - 1) * 100.1 ms; video frame 3 lies at 100.1 ms.
    EXPECT_EQ(clock.PacedFrameAt(2, 0, 10, 1001), 1);
    EXPECT_EQ(clock.PacedFrameAt(3, 0, 10, 1001), 2);
    EXPECT_EQ(clock.PacedFrameAt(30, 0, 10, 1001), 10);
}

TEST(VideoClock, PacedFrameShownAtEachVideoFrame)
{
    // A pass of 10 frames over 1000 ms starting at 2000 ms, at 10 fps: frame k shows from
    // (k - 1) * 100 ms on; the new picture (frame 10) from 900 ms.
    const VideoClock clock(10);
    const int expected[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10};
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(clock.PacedFrameAt(20 + j, 2000, 10, 1000), expected[j]) << "video frame " << 20 + j;
}

TEST(VideoClock, PacedFramesSkipWhenThePassHasMoreFramesThanTheVideo)
{
    const VideoClock clock(10);
    // 64 frames over 1600 ms: one video frame every 4 engine frames.
    EXPECT_EQ(clock.PacedFrameAt(0, 0, 64, 1600), 1);
    EXPECT_EQ(clock.PacedFrameAt(1, 0, 64, 1600), 5);
    EXPECT_EQ(clock.PacedFrameAt(8, 0, 64, 1600), 33);
    EXPECT_EQ(clock.PacedFrameAt(16, 0, 64, 1600), 64);
    EXPECT_EQ(clock.PacedFrameAt(40, 0, 64, 1600), 64);
}

TEST(VideoClock, PacedFramesRepeatWhenTheVideoHasMoreFramesThanThePass)
{
    const VideoClock clock(30);
    // 16 frames over 1700 ms at 30 fps: frame k from (k - 1) * 106.25 ms.
    EXPECT_EQ(clock.PacedFrameAt(0, 0, 16, 1700), 1);
    EXPECT_EQ(clock.PacedFrameAt(3, 0, 16, 1700), 1);  // 100 ms
    EXPECT_EQ(clock.PacedFrameAt(4, 0, 16, 1700), 2);  // 133 ms
    EXPECT_EQ(clock.PacedFrameAt(48, 0, 16, 1700), 16);  // 1600 ms
}

TEST(VideoClock, EdgeCases)
{
    const VideoClock clock(25);
    EXPECT_EQ(clock.PacedFrameAt(10, 1000, 8, 500), 1);  // before the pass
    EXPECT_EQ(clock.PacedFrameAt(10, 0, 1, 500), 1);  // one frame: the new picture
    EXPECT_EQ(clock.PacedFrameAt(10, 0, 8, 0), 8);  // no time: the new picture
    EXPECT_DOUBLE_EQ(clock.TimeOf(5), 200.0);
}
