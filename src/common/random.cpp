// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/random.h"

#include <chrono>

namespace lumetta {
namespace {

std::uint32_t g_seed = 0;
std::function<std::uint32_t()> g_clockSource;

std::uint32_t advance()
{
    g_seed = g_seed * 134775813u + 1u;
    return g_seed;
}

}  // namespace

std::uint32_t RandSeed()
{
    return g_seed;
}

void SetRandSeed(std::uint32_t seed)
{
    g_seed = seed;
}

std::int32_t Random(std::int32_t n)
{
    const std::uint64_t product = std::uint64_t(advance()) * std::uint64_t(n > 0 ? n : 0);
    return std::int32_t(product >> 32);
}

double RandomReal()
{
    return double(advance()) * (1.0 / 4294967296.0);
}

std::uint32_t ClockSeed()
{
    if (g_clockSource)
        return g_clockSource();
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto msOfDay = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
    return std::uint32_t(msOfDay);
}

void Randomize()
{
    g_seed = ClockSeed();
}

void SetClockSeedSource(std::function<std::uint32_t()> source)
{
    g_clockSource = std::move(source);
}

}  // namespace lumetta
