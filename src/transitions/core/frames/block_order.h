// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/block_grid.h"

#include <cstdint>
#include <vector>

namespace lumetta {

// Yields the blocks of one run in order, one call per block, starting with block 1.
// Style 1 walks two random permutations diagonally; 2 runs rows or columns, 3 serpentines,
// 4 spirals. A style above 4 plays as style 1, and a sub-style the style does not offer plays
// as its sub-style 1, so any stored setting still uncovers every block.
class BlockOrder
{
public:
    // Style 1 draws its permutations from the shared generator here.
    BlockOrder(int cols, int rows, int style, int subStyle);

    BlockCell Next();
    int Style() const { return style_; }
    int SubStyle() const { return subStyle_; }

private:
    BlockCell RowsAndColumns(int k) const;
    BlockCell Serpentine(int k) const;
    BlockCell NextRandom(int k);
    BlockCell NextSpiral();
    BlockCell OutwardSpiral(int k) const;

    int cols_, rows_, count_;
    int style_, subStyle_;
    int k_ = 0;
    // Style 1.
    std::vector<int> permCols_, permRows_;
    std::int64_t lcm_ = 1;
    int shift_ = 0;
    // Inward spirals.
    BlockCell last_;
    int dx_ = 0, dy_ = 0;
    int leftBound_ = 0, topBound_ = 0, rightBound_ = 0, bottomBound_ = 0;
};

// Block number k (from 1) of the clockwise inward spiral from the top-left block.
BlockCell ClockwiseSpiralCell(int cols, int rows, int k);

}  // namespace lumetta
