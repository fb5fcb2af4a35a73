// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_effects.h"

#include <gtest/gtest.h>

namespace lumetta {

namespace {

TEST(Stopwatch, StartPauseResetAccumulate)
{
    SimulatedClock clock(0);
    Stopwatch chrono;
    EXPECT_TRUE(chrono.IsReset());
    EXPECT_EQ(chrono.Elapsed(), 0);
    chrono.Start();
    clock.Advance(10);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 10);
    chrono.Start();  // running: not restarted
    clock.Advance(5);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 15);
    chrono.Pause();
    clock.Advance(100);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 15);
    EXPECT_TRUE(chrono.IsPaused());
    chrono.Start();
    clock.Advance(1);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 16);
    chrono.Reset();
    EXPECT_TRUE(chrono.IsReset());
    EXPECT_EQ(chrono.Elapsed(), 0);
}

// Started at an earlier reading, the stopwatch counts the time since then; a stopwatch already
// under way goes on as Start leaves it.
TEST(Stopwatch, StartAtCountsFromAnEarlierReading)
{
    SimulatedClock clock(0);
    Stopwatch chrono;
    const double origin = Stopwatch::Now();
    clock.Advance(20);
    chrono.StartAt(origin);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 20);
    clock.Advance(5);
    chrono.StartAt(Stopwatch::Now());
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 25);
    chrono.Pause();
    clock.Advance(7);
    chrono.StartAt(origin);
    clock.Advance(1);
    EXPECT_DOUBLE_EQ(chrono.Elapsed(), 26);
}

// Waiting on a replaced clock reads it until the time has passed; nothing to wait returns at once.
TEST(Stopwatch, WaitLetsTheClockMoveOn)
{
    SimulatedClock clock(0.25);
    const double before = clock.Now();
    Stopwatch::Wait(3);
    EXPECT_GE(clock.Now() - before, 3);
    EXPECT_LT(clock.Now() - before, 4);
    const double again = clock.Now();
    Stopwatch::Wait(0);
    Stopwatch::Wait(-2);
    EXPECT_EQ(clock.Now(), again);
}

}  // namespace

}  // namespace lumetta
