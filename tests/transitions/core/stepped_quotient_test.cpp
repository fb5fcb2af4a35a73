// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/stepped_quotient.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetta {

using lumetta::SteppedQuotient;

// Floors and ceilings of n / d along n, n + s, n + 2s, ... for numerators and steps of either
// sign, against the division done anew.
TEST(SteppedQuotient, FollowsTheQuotientsOfItsNumerators)
{
    struct Case
    {
        long long numerator, denominator, step;
    };
    const Case cases[] = {
        {0, 1, 0},   {0, 1, 1},     {-7, 3, 2},   {7, 3, -2},       {-1, 2, 1},       {5, 5, 5},
        {-13, 4, 9}, {100, 7, -31}, {3, 1000, 1}, {-3, 1000, 1999}, {1, 2161, -3841}, {-999, 17, 0},
    };
    for (const Case &c : cases) {
        SteppedQuotient quotient(c.numerator, c.denominator, c.step);
        for (int i = 0; i < 200; ++i) {
            const double exact = double(c.numerator + i * c.step) / double(c.denominator);
            ASSERT_EQ(quotient.Floor(), (long long)std::floor(exact))
                << c.numerator << "/" << c.denominator << " +" << i;
            ASSERT_EQ(quotient.Ceil(), (long long)std::ceil(exact)) << c.numerator << "/" << c.denominator << " +" << i;
            quotient.Step();
        }
    }
}

}  // namespace lumetta
