// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/arith.h"

#include <gtest/gtest.h>

using namespace lumetta;

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    struct Case
    {
        std::int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {5, 1, 2, 3},
        {-5, 1, 2, -3},
        {5, -1, 2, -3},
        {-5, -1, 2, 3},
        {5, 1, -2, -3},
        {7, 1, 4, 2},
        {6, 1, 4, 2},
        {5, 1, 4, 1},
        {-7, 1, 4, -2},
        {255, 100, 255, 100},
        {0, 9, 7, 0},
        {10, 10, 3, 33},
        {0x7fffffff, 0x7fffffff, 0x7fffffff, 0x7fffffff},  // needs the 64-bit intermediate
        {100000, 100000, 1000, 10000000},
    };
    for (const Case &t : cases)
        EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << "*" << t.b << "/" << t.c;
}

TEST(MulDiv, ZeroDivisorGivesMinusOne)
{
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(RoundEven, TiesGoToEven)
{
    struct Case
    {
        double v;
        std::int64_t expected;
    };
    const Case cases[] = {{0.5, 0},
                          {1.5, 2},
                          {2.5, 2},
                          {3.5, 4},
                          {-0.5, 0},
                          {-1.5, -2},
                          {-2.5, -2},
                          {2.4999, 2},
                          {2.5001, 3},
                          {-2.6, -3},
                          {1e9 + 0.5, 1000000000}};
    for (const Case &c : cases) {
        EXPECT_EQ(RoundEven(c.v), c.expected) << c.v;
        EXPECT_EQ(RoundEven(float(c.v)), std::int32_t(RoundEven(double(float(c.v))))) << c.v;
    }
}
