// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/random.h"

#include <chrono>

namespace lumetta {
namespace {

std::uint32_t gSeed = 0;
std::function<std::uint32_t()> gClockSource;

std::uint32_t Advance()
{
    gSeed = gSeed * 134775813u + 1u;
    return gSeed;
}

}  // namespace

std::uint32_t RandSeed()
{
    return gSeed;
}

void SetRandSeed(std::uint32_t seed)
{
    gSeed = seed;
}

std::int32_t Random(std::int32_t n)
{
    const std::uint64_t product = std::uint64_t(Advance()) * std::uint64_t(n > 0 ? n : 0);
    return std::int32_t(product >> 32);
}

double RandomReal()
{
    return double(Advance()) * (1.0 / 4294967296.0);
}

std::uint32_t ClockSeed()
{
    if (gClockSource)
        return gClockSource();
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto msOfDay = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
    return std::uint32_t(msOfDay);
}

void Randomize()
{
    gSeed = ClockSeed();
}

void SetClockSeedSource(std::function<std::uint32_t()> source)
{
    gClockSource = std::move(source);
}

}  // namespace lumetta
