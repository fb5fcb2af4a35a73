// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/block_order.h"

#include "common/arith.h"
#include "common/random.h"

#include <algorithm>
#include <numeric>

namespace lumetta {
namespace {

// Position `index` (from 0) of a permutation of 1..n filled by drawing free places.
std::vector<int> RandomPermutation(int n)
{
    std::vector<int> places(std::size_t(n), 0);
    for (int d = 1; d <= n; ++d) {
        int p;
        do
            p = Random(n);
        while (places[std::size_t(p)] != 0);
        places[std::size_t(p)] = d;
    }
    return places;
}

}  // namespace

BlockOrder::BlockOrder(int cols, int rows, int style, int subStyle)
    : cols_(std::max(cols, 1)),
      rows_(std::max(rows, 1)),
      count_(cols_ * rows_),
      style_(style >= 1 && style <= 4 ? style : 1),
      subStyle_(style_ == style && subStyle >= 1 && subStyle <= BlockSubStyleCount(style_) ? subStyle : 1)
{
    if (style_ == 1) {
        permCols_ = RandomPermutation(cols_);
        permRows_ = RandomPermutation(rows_);
        lcm_ = std::lcm(std::int64_t(cols_), std::int64_t(rows_));
    }
    leftBound_ = 0;
    topBound_ = 1;
    rightBound_ = cols_ + 1;
    bottomBound_ = rows_ + 1;
}

BlockCell BlockOrder::Next()
{
    const int k = ++k_;
    switch (style_) {
    case 2:
        return RowsAndColumns(k);
    case 3:
        return Serpentine(k);
    case 4:
        return subStyle_ % 2 != 0 ? NextSpiral() : OutwardSpiral(k);
    default:
        return NextRandom(k);
    }
}

BlockCell BlockOrder::RowsAndColumns(int k) const
{
    // Even sub-styles play the preceding odd one from its last block backwards.
    const int base = subStyle_ % 2 != 0 ? subStyle_ : subStyle_ - 1;
    const int j = (subStyle_ % 2 != 0 ? k : count_ - k + 1) - 1;
    const int c = cols_, r = rows_;
    switch (base) {
    case 1:
        return {j % c + 1, j / c + 1};
    case 3:
        return {j % c + 1, r - j / c};
    case 5:
        return {j / r + 1, j % r + 1};
    default:
        return {c - j / r, j % r + 1};
    }
}

BlockCell BlockOrder::Serpentine(int k) const
{
    const int base = subStyle_ % 2 != 0 ? subStyle_ : subStyle_ - 1;
    const int j = (subStyle_ % 2 != 0 ? k : count_ - k + 1) - 1;
    const int c = cols_, r = rows_;
    if (base == 1) {
        const int row = j / c + 1;
        return {row % 2 != 0 ? j % c + 1 : c - j % c, row};
    }
    const int col = j / r + 1;
    return {col, col % 2 != 0 ? j % r + 1 : r - j % r};
}

BlockCell BlockOrder::NextRandom(int k)
{
    // Shifting the column walk by one after every full cycle of both permutations moves the
    // walk onto the next diagonal, so every block comes once.
    if (k % lcm_ == 0)
        ++shift_;
    const int col = permCols_[std::size_t((std::int64_t(k) - 1 + shift_) % cols_)];
    const int row = permRows_[std::size_t((k - 1) % rows_)];
    return {col, row};
}

BlockCell BlockOrder::NextSpiral()
{
    const bool clockwise = subStyle_ == 1;
    if (k_ == 1) {
        last_ = clockwise ? BlockCell{1, 1} : BlockCell{cols_, 1};
        dx_ = clockwise ? 1 : -1;
        dy_ = 0;
        return last_;
    }
    const int c = last_.col, r = last_.row;
    if (clockwise) {
        if (dx_ == 1 && c + 1 == rightBound_) {
            dx_ = 0, dy_ = 1, --rightBound_;
        } else if (dy_ == 1 && r + 1 == bottomBound_) {
            dx_ = -1, dy_ = 0, --bottomBound_;
        } else if (dx_ == -1 && c == leftBound_ + 1) {
            dx_ = 0, dy_ = -1, ++leftBound_;
        } else if (dy_ == -1 && r == topBound_ + 1) {
            dx_ = 1, dy_ = 0, ++topBound_;
        }
    } else {
        if (dx_ == -1 && c == leftBound_ + 1) {
            dx_ = 0, dy_ = 1, leftBound_ = c;
        } else if (dy_ == 1 && r + 1 == bottomBound_) {
            dx_ = 1, dy_ = 0, bottomBound_ = r;
        } else if (dx_ == 1 && c + 1 == rightBound_) {
            dx_ = 0, dy_ = -1, rightBound_ = c;
        } else if (dy_ == -1 && r == topBound_ + 1) {
            dx_ = -1, dy_ = 0, topBound_ = r;
        }
    }
    last_ = {c + dx_, r + dy_};
    return last_;
}

BlockCell BlockOrder::OutwardSpiral(int k) const
{
    BlockCell cell = ClockwiseSpiralCell(cols_, rows_, count_ - k + 1);
    // The anticlockwise spiral from the top-right block is the clockwise one mirrored.
    if (subStyle_ == 4)
        cell.col = cols_ + 1 - cell.col;
    return cell;
}

BlockCell ClockwiseSpiralCell(int cols, int rows, int k)
{
    const std::int64_t cols64 = cols, rows64 = rows, j = k - 1;
    // Blocks in the rings outside ring d.
    auto before = [&](std::int64_t d) { return cols64 * rows64 - (cols64 - 2 * d) * (rows64 - 2 * d); };
    std::int64_t lo = 0, hi = (std::min(cols64, rows64) - 1) / 2;
    while (lo < hi) {
        const std::int64_t mid = (lo + hi + 1) / 2;
        if (before(mid) <= j)
            lo = mid;
        else
            hi = mid - 1;
    }
    const int d = int(lo);
    int t = int(j - before(d));
    const int w = cols - 2 * d, h = rows - 2 * d;
    if (h == 1)
        return {d + 1 + t, d + 1};
    if (w == 1)
        return {d + 1, d + 1 + t};
    if (t < w)
        return {d + 1 + t, d + 1};
    t -= w;
    if (t < h - 1)
        return {d + w, d + 2 + t};
    t -= h - 1;
    if (t < w - 1)
        return {d + w - 1 - t, d + h};
    t -= w - 1;
    return {d + 1, d + h - 1 - t};
}

}  // namespace lumetta
