#include "test_effects.h"

#include <gtest/gtest.h>

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

}  // namespace
