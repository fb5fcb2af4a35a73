// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace lumetta {

// An 8 x 8 pattern tiled over a picture: bit x of rows[y] is cell (x, y), set = on.
struct TilePattern
{
    std::array<std::uint8_t, 8> rows{};

    bool Cell(int x, int y) const { return (rows[y & 7] >> (x & 7)) & 1u; }
    void Set(int x, int y) { rows[y & 7] |= std::uint8_t(1u << (x & 7)); }
    int Count() const;
    bool operator==(const TilePattern &) const = default;
};

// Order in which the cells of the ordered-dither pattern turn on: kOrderedDither[y][x] is 1..64.
extern const std::array<std::array<std::uint8_t, 8>, 8> kOrderedDither;

// Cells of the ordered-dither pattern whose order number is 1..level.
TilePattern OrderedDitherCells(int level);

}  // namespace lumetta
