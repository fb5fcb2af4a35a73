// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetta {

// A pixel position; the shapes take pixel centres at whole numbers.
struct Point
{
    int x = 0;
    int y = 0;

    friend bool operator==(const Point &, const Point &) = default;
};

}  // namespace lumetta
