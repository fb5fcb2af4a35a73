// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

namespace lumetta {

// The values a numeric property takes: descriptions and tools refuse others, setters clamp.
struct ValueRange
{
    int minimum;
    int maximum;

    bool Contains(long long value) const { return value >= minimum && value <= maximum; }
    int Clamp(int value) const { return std::clamp(value, minimum, maximum); }
};

}  // namespace lumetta
