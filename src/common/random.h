// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

// The one pseudo-random generator the whole process shares. Effects, the player and the
// wipe's band mask all draw from it, so seeding it anywhere changes what every later draw sees.
namespace lumetta {

std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t seed);

// Advances the seed and returns a value in [0, n); 0 when n <= 0.
std::int32_t Random(std::int32_t n);

// Advances the seed and returns a value in [0, 1).
double RandomReal();

// Seeds from the clock: milliseconds since midnight UTC, or what the override yields.
void Randomize();

// Milliseconds since midnight UTC as Randomize would use them.
std::uint32_t ClockSeed();

// Replaces what Randomize reads from the clock (tools and tests fix it); an empty function
// restores the clock.
void SetClockSeedSource(std::function<std::uint32_t()> source);

}  // namespace lumetta
