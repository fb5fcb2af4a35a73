// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/arith.h"

#include <cmath>
#include <cstdlib>

namespace lumetta {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t num = std::int64_t(a) * b;
    const bool negative = (num < 0) != (c < 0);
    const std::uint64_t n = std::uint64_t(std::llabs(num));
    const std::uint64_t d = std::uint64_t(std::llabs(std::int64_t(c)));
    const std::uint64_t q = (n + d / 2) / d;
    return std::int32_t(negative ? -std::int64_t(q) : std::int64_t(q));
}

std::int64_t RoundEven(double value)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even unless changed.
    const double r = std::nearbyint(value);
    return std::int64_t(r);
}

std::int32_t RoundEven(float value)
{
    return std::int32_t(std::nearbyintf(value));
}

}  // namespace lumetta
