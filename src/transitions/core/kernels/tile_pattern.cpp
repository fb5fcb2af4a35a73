// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/tile_pattern.h"

#include <bit>

namespace lumetta {

int TilePattern::Count() const
{
    int total = 0;
    for (std::uint8_t row : rows)
        total += std::popcount(row);
    return total;
}

const std::array<std::array<std::uint8_t, 8>, 8> kOrderedDither = {{
    {2, 34, 10, 42, 3, 35, 11, 43},
    {54, 30, 62, 22, 55, 31, 63, 23},
    {14, 46, 6, 38, 15, 47, 7, 39},
    {58, 18, 50, 26, 59, 19, 51, 27},
    {4, 36, 12, 44, 1, 33, 9, 41},
    {56, 32, 64, 24, 53, 29, 61, 21},
    {16, 48, 8, 40, 13, 45, 5, 37},
    {60, 20, 52, 28, 57, 17, 49, 25},
}};

TilePattern OrderedDitherCells(int level)
{
    TilePattern pattern;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (kOrderedDither[y][x] <= level)
                pattern.Set(x, y);
    return pattern;
}

}  // namespace lumetta
