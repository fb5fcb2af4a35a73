// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumetta {

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away from zero;
// -1 when c is 0.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t RoundEven(double value);
std::int32_t RoundEven(float value);

}  // namespace lumetta
