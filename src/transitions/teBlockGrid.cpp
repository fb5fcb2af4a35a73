#include "transitions/teBlockGrid.h"

#include "common/arith.h"
#include "common/random.h"

#include <algorithm>
#include <numeric>

namespace lumetta {
namespace {

int countFor(int size, int count, int blockSize, bool puzzle)
{
    int n = count;
    if (n == 0)
        n = int(RoundEven(double(size) / std::max(blockSize, 1)));
    n = std::max(n, 1);
    if (puzzle && size / n < 15)
        n = std::max(size / 15, 1);
    return std::min(n, std::max(size, 0));
}

// Position `index` (from 0) of a permutation of 1..n filled by drawing free places.
std::vector<int> randomPermutation(int n)
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

BlockGrid::BlockGrid(int width, int height, int cols, int rows, int blockWidth, int blockHeight, bool puzzle)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_cols(countFor(m_width, cols, blockWidth, puzzle))
    , m_rows(countFor(m_height, rows, blockHeight, puzzle))
{
}

int BlockGrid::Left(int col) const
{
    return col <= 1 ? 0 : int(RoundEven(double(m_width) / m_cols * (col - 1)));
}

int BlockGrid::Right(int col) const
{
    return col >= m_cols ? m_width : int(RoundEven(double(m_width) / m_cols * col));
}

int BlockGrid::Top(int row) const
{
    return row <= 1 ? 0 : int(RoundEven(double(m_height) / m_rows * (row - 1)));
}

int BlockGrid::Bottom(int row) const
{
    return row >= m_rows ? m_height : int(RoundEven(double(m_height) / m_rows * row));
}

QRect BlockGrid::BlockRect(BlockCell cell) const
{
    const int l = Left(cell.col), t = Top(cell.row);
    return QRect(l, t, Right(cell.col) - l, Bottom(cell.row) - t);
}

QRect BlockGrid::PieceRect(BlockCell cell, int knob) const
{
    int l = Left(cell.col), t = Top(cell.row), r = Right(cell.col), b = Bottom(cell.row);
    if ((cell.col + cell.row) % 2 != 0) {
        if (cell.col > 1)
            l -= knob;
        if (cell.col < m_cols)
            r += knob;
    } else {
        if (cell.row > 1)
            t -= knob;
        if (cell.row < m_rows)
            b += knob;
    }
    return QRect(l, t, r - l, b - t);
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

BlockOrder::BlockOrder(int cols, int rows, int style, int subStyle)
    : m_cols(std::max(cols, 1))
    , m_rows(std::max(rows, 1))
    , m_count(m_cols * m_rows)
    , m_style(style >= 1 && style <= 4 ? style : 1)
    , m_subStyle(m_style == style && subStyle >= 1 && subStyle <= BlockSubStyleCount(m_style) ? subStyle : 1)
{
    if (m_style == 1) {
        m_permCols = randomPermutation(m_cols);
        m_permRows = randomPermutation(m_rows);
        m_lcm = std::lcm(std::int64_t(m_cols), std::int64_t(m_rows));
    }
    m_leftBound = 0;
    m_topBound = 1;
    m_rightBound = m_cols + 1;
    m_bottomBound = m_rows + 1;
}

BlockCell BlockOrder::Next()
{
    const int k = ++m_k;
    switch (m_style) {
    case 2:
        return rowsAndColumns(k);
    case 3:
        return serpentine(k);
    case 4:
        return m_subStyle % 2 != 0 ? nextSpiral() : outwardSpiral(k);
    default:
        return nextRandom(k);
    }
}

BlockCell BlockOrder::rowsAndColumns(int k) const
{
    // Even sub-styles play the preceding odd one from its last block backwards.
    const int base = m_subStyle % 2 != 0 ? m_subStyle : m_subStyle - 1;
    const int j = (m_subStyle % 2 != 0 ? k : m_count - k + 1) - 1;
    const int C = m_cols, R = m_rows;
    switch (base) {
    case 1:
        return {j % C + 1, j / C + 1};
    case 3:
        return {j % C + 1, R - j / C};
    case 5:
        return {j / R + 1, j % R + 1};
    default:
        return {C - j / R, j % R + 1};
    }
}

BlockCell BlockOrder::serpentine(int k) const
{
    const int base = m_subStyle % 2 != 0 ? m_subStyle : m_subStyle - 1;
    const int j = (m_subStyle % 2 != 0 ? k : m_count - k + 1) - 1;
    const int C = m_cols, R = m_rows;
    if (base == 1) {
        const int row = j / C + 1;
        return {row % 2 != 0 ? j % C + 1 : C - j % C, row};
    }
    const int col = j / R + 1;
    return {col, col % 2 != 0 ? j % R + 1 : R - j % R};
}

BlockCell BlockOrder::nextRandom(int k)
{
    // Shifting the column walk by one after every full cycle of both permutations moves the
    // walk onto the next diagonal, so every block comes once.
    if (k % m_lcm == 0)
        ++m_shift;
    const int col = m_permCols[std::size_t((std::int64_t(k) - 1 + m_shift) % m_cols)];
    const int row = m_permRows[std::size_t((k - 1) % m_rows)];
    return {col, row};
}

BlockCell BlockOrder::nextSpiral()
{
    const bool clockwise = m_subStyle == 1;
    if (m_k == 1) {
        m_last = clockwise ? BlockCell{1, 1} : BlockCell{m_cols, 1};
        m_dx = clockwise ? 1 : -1;
        m_dy = 0;
        return m_last;
    }
    const int c = m_last.col, r = m_last.row;
    if (clockwise) {
        if (m_dx == 1 && c + 1 == m_rightBound) {
            m_dx = 0, m_dy = 1, --m_rightBound;
        } else if (m_dy == 1 && r + 1 == m_bottomBound) {
            m_dx = -1, m_dy = 0, --m_bottomBound;
        } else if (m_dx == -1 && c == m_leftBound + 1) {
            m_dx = 0, m_dy = -1, ++m_leftBound;
        } else if (m_dy == -1 && r == m_topBound + 1) {
            m_dx = 1, m_dy = 0, ++m_topBound;
        }
    } else {
        if (m_dx == -1 && c == m_leftBound + 1) {
            m_dx = 0, m_dy = 1, m_leftBound = c;
        } else if (m_dy == 1 && r + 1 == m_bottomBound) {
            m_dx = 1, m_dy = 0, m_bottomBound = r;
        } else if (m_dx == 1 && c + 1 == m_rightBound) {
            m_dx = 0, m_dy = -1, m_rightBound = c;
        } else if (m_dy == -1 && r == m_topBound + 1) {
            m_dx = -1, m_dy = 0, m_topBound = r;
        }
    }
    m_last = {c + m_dx, r + m_dy};
    return m_last;
}

BlockCell BlockOrder::outwardSpiral(int k) const
{
    BlockCell cell = ClockwiseSpiralCell(m_cols, m_rows, m_count - k + 1);
    // The anticlockwise spiral from the top-right block is the clockwise one mirrored.
    if (m_subStyle == 4)
        cell.col = m_cols + 1 - cell.col;
    return cell;
}

BlockCell ClockwiseSpiralCell(int cols, int rows, int k)
{
    const std::int64_t C = cols, R = rows, j = k - 1;
    // Blocks in the rings outside ring d.
    auto before = [&](std::int64_t d) { return C * R - (C - 2 * d) * (R - 2 * d); };
    std::int64_t lo = 0, hi = (std::min(C, R) - 1) / 2;
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
