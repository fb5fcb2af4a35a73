// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/block_grid.h"
#include "transitions/core/frames/block_order.h"
#include "transitions/core/frames/puzzle_pieces.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"

#include <memory>
#include <optional>
#include <vector>

namespace lumetta {

// The block effect's frames: the blocks (or jigsaw pieces) of a grid uncovered one by one in the
// order of the style.
class BlockShape
{
public:
    // Starts a pass over a width x height area and returns its frame count, one frame a block.
    // Columns and rows as BlockGrid takes them; styles outside 2..4 play the random order, which
    // draws from the shared generator, seeded afresh from the clock.
    int Begin(int width, int height, int cols, int rows, int blockWidth, int blockHeight, bool puzzle, int style,
              int subStyle);
    void End();

    // Every block is a single pixel.
    bool PixelBlocks() const { return grid_->PixelBlocks(); }

    // Paints the next step blocks (or pieces) white on the mask; returns the rectangle around
    // them and, when blocks is not null, adds each block's rectangle to it.
    HalfOpenRect PaintMask(const PixelView &mask, int step, std::vector<HalfOpenRect> *blocks);

    // The next block alone, to be copied without a mask (not for puzzles).
    HalfOpenRect NextBlock();

private:
    std::optional<BlockGrid> grid_;
    std::optional<BlockOrder> order_;
    std::unique_ptr<PuzzlePieces> pieces_;
};

}  // namespace lumetta
