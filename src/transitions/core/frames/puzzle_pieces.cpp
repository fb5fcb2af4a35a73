// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/puzzle_pieces.h"

#include "common/arith.h"
#include "transitions/core/shapes/mono_paint.h"

#include <algorithm>

namespace lumetta {
namespace {

// A circle in the box (x, y, x + k, y + k) joined by a rectangle to the body or the edge.
void Knob(const PixelView &image, int x, int y, int k, int rl, int rt, int rr, int rb, bool white)
{
    FillMonoEllipse(image, x, y, x + k, y + k, white);
    FillMonoRect(image, rl, rt, rr, rb, white);
}

MonoBitmap VerticalPiece(int w, int h, int k)
{
    MonoBitmap bitmap(w, h + 2 * k);
    const PixelView piece = bitmap.View();
    const int a = (w - k) / 2, m = (h + k) / 2;
    Knob(piece, a, 0, k, a, k / 2, a + k, k, true);
    FillMonoRect(piece, 0, k, w, h + k, true);
    Knob(piece, a, h + k, k, a, h + k, a + k, h + 2 * k - k / 2, true);
    Knob(piece, 0, m, k, 0, m, k / 2, m + k, false);
    Knob(piece, w - k, m, k, w - k / 2, m, w, m + k, false);
    return bitmap;
}

MonoBitmap HorizontalPiece(int w, int h, int k)
{
    MonoBitmap bitmap(w + 2 * k, h);
    const PixelView piece = bitmap.View();
    const int n = (h - k) / 2, q = (w + k) / 2;
    Knob(piece, 0, n, k, k / 2, n, k, n + k, true);
    FillMonoRect(piece, k, 0, w + k, h, true);
    Knob(piece, w + k, n, k, w + k, n, w + 2 * k - k / 2, n + k, true);
    Knob(piece, q, 0, k, q, 0, q + k, k / 2, false);
    Knob(piece, q, h - k, k, q, h - k / 2, q + k, h, false);
    return bitmap;
}

}  // namespace

PuzzlePieces::PuzzlePieces(const BlockGrid &grid) : grid_(grid), knob_(0)
{
    const int bodyW = grid.Width() / std::max(grid.Cols(), 1);
    const int bodyH = grid.Height() / std::max(grid.Rows(), 1);
    knob_ = int(RoundEven(std::min(bodyH, bodyW) / 3.5));
    for (int b = 1; b <= 4; ++b) {
        const int w = bodyW + (b % 2 == 0 ? 1 : 0), h = bodyH + (b > 2 ? 1 : 0);
        vertical_[std::size_t(b - 1)] = VerticalPiece(w, h, knob_);
        horizontal_[std::size_t(b - 1)] = HorizontalPiece(w, h, knob_);
    }
}

void PuzzlePieces::Paint(const PixelView &mask, BlockCell cell) const
{
    const int left = grid_.Left(cell.col), right = grid_.Right(cell.col);
    const int top = grid_.Top(cell.row), bottom = grid_.Bottom(cell.row);
    const int bodyW = grid_.Width() / grid_.Cols(), bodyH = grid_.Height() / grid_.Rows();
    const int body = 1 + (right - left - bodyW) + 2 * (bottom - top - bodyH);
    const int k = knob_;
    if ((cell.col + cell.row) % 2 != 0) {
        OrMonoImage(mask, left - k, top, Horizontal(body).View());
        if (cell.row == 1)
            FillMonoRect(mask, left, top, right, top + k, true);
        if (cell.row == grid_.Rows())
            FillMonoRect(mask, left, bottom - k, right, bottom, true);
    } else {
        OrMonoImage(mask, left, top - k, Vertical(body).View());
        if (cell.col == 1)
            FillMonoRect(mask, left, top, left + k, bottom, true);
        if (cell.col == grid_.Cols())
            FillMonoRect(mask, right - k, top, right, bottom, true);
    }
}

}  // namespace lumetta
