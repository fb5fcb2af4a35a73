// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/block_shape.h"

#include "common/random.h"
#include "transitions/core/shapes/mono_paint.h"

namespace lumetta {

int BlockShape::Begin(int width, int height, int cols, int rows, int blockWidth, int blockHeight, bool puzzle,
                      int style, int subStyle)
{
    grid_.emplace(width, height, cols, rows, blockWidth, blockHeight, puzzle);
    // Styles outside 2..4 play the random order, which draws from a freshly seeded generator.
    if (style < 2 || style > 4)
        Randomize();
    order_.emplace(grid_->Cols(), grid_->Rows(), style, subStyle);
    pieces_.reset();
    if (puzzle && !grid_->PixelBlocks() && grid_->FrameCount() > 0)
        pieces_ = std::make_unique<PuzzlePieces>(*grid_);
    return grid_->FrameCount();
}

void BlockShape::End()
{
    pieces_.reset();
    order_.reset();
    grid_.reset();
}

HalfOpenRect BlockShape::PaintMask(const PixelView &mask, int step, std::vector<HalfOpenRect> *blocks)
{
    HalfOpenRect area;
    for (int i = 0; i < step; ++i) {
        const BlockCell cell = order_->Next();
        if (grid_->PixelBlocks()) {
            SetMonoPixel(mask, cell.col - 1, cell.row - 1, true);
            area = Union(area, {cell.col - 1, cell.row - 1, cell.col, cell.row});
            continue;
        }
        HalfOpenRect r;
        if (pieces_) {
            r = grid_->PieceRect(cell, pieces_->Knob());
            pieces_->Paint(mask, cell);
        } else {
            r = grid_->BlockRect(cell);
            FillMonoRect(mask, r.left, r.top, r.right, r.bottom, true);
        }
        area = Union(area, r);
        if (blocks)
            blocks->push_back(r);
    }
    return area;
}

HalfOpenRect BlockShape::NextBlock()
{
    const BlockCell cell = order_->Next();
    return grid_->PixelBlocks() ? HalfOpenRect{cell.col - 1, cell.row - 1, cell.col, cell.row} : grid_->BlockRect(cell);
}

}  // namespace lumetta
