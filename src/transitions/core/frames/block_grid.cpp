// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/block_grid.h"

#include "common/arith.h"

#include <algorithm>

namespace lumetta {
namespace {

int CountFor(int size, int count, int blockSize, bool puzzle)
{
    int n = count;
    if (n == 0)
        n = int(RoundEven(double(size) / std::max(blockSize, 1)));
    n = std::max(n, 1);
    if (puzzle && size / n < 15)
        n = std::max(size / 15, 1);
    return std::min(n, std::max(size, 0));
}

}  // namespace

BlockGrid::BlockGrid(int width, int height, int cols, int rows, int blockWidth, int blockHeight, bool puzzle)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cols_(CountFor(width_, cols, blockWidth, puzzle)),
      rows_(CountFor(height_, rows, blockHeight, puzzle))
{
}

int BlockGrid::Left(int col) const
{
    return col <= 1 ? 0 : int(RoundEven(double(width_) / cols_ * (col - 1)));
}

int BlockGrid::Right(int col) const
{
    return col >= cols_ ? width_ : int(RoundEven(double(width_) / cols_ * col));
}

int BlockGrid::Top(int row) const
{
    return row <= 1 ? 0 : int(RoundEven(double(height_) / rows_ * (row - 1)));
}

int BlockGrid::Bottom(int row) const
{
    return row >= rows_ ? height_ : int(RoundEven(double(height_) / rows_ * row));
}

HalfOpenRect BlockGrid::BlockRect(BlockCell cell) const
{
    return {Left(cell.col), Top(cell.row), Right(cell.col), Bottom(cell.row)};
}

HalfOpenRect BlockGrid::PieceRect(BlockCell cell, int knob) const
{
    int l = Left(cell.col), t = Top(cell.row), r = Right(cell.col), b = Bottom(cell.row);
    if ((cell.col + cell.row) % 2 != 0) {
        if (cell.col > 1)
            l -= knob;
        if (cell.col < cols_)
            r += knob;
    } else {
        if (cell.row > 1)
            t -= knob;
        if (cell.row < rows_)
            b += knob;
    }
    return {l, t, r, b};
}

int BlockSubStyleCount(int style)
{
    switch (style) {
    case 0:
        return 0;
    case 2:
        return 8;
    case 3:
    case 4:
        return 4;
    default:
        return 1;
    }
}

int BlockReversedSubStyle(int style, int subStyle)
{
    const bool paired = (style == 2 && subStyle >= 1 && subStyle <= 8)
                        || ((style == 3 || style == 4) && subStyle >= 1 && subStyle <= 4);
    if (!paired)
        return subStyle;
    return subStyle % 2 != 0 ? subStyle + 1 : subStyle - 1;
}

}  // namespace lumetta
