// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/half_open_rect.h"

// The block effect's geometry without any bitmap: the grid and the block rectangles (the orders
// in which the blocks are uncovered are in block_order.h). Columns and rows count from 1.
namespace lumetta {

struct BlockCell
{
    int col = 0;
    int row = 0;
    friend bool operator==(const BlockCell &, const BlockCell &) = default;
};

class BlockGrid
{
public:
    // Columns from cols, or from width / blockWidth when cols is 0 (rows likewise). A puzzle
    // keeps its pieces at least 15 pixels wide and high; an area narrower or lower than that
    // still gets one column or row (one piece with flat edges) rather than none.
    BlockGrid(int width, int height, int cols, int rows, int blockWidth, int blockHeight, bool puzzle);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }
    // Every block is a single pixel.
    bool PixelBlocks() const { return cols_ == width_ && rows_ == height_; }
    // One frame per block; 0 for an empty area.
    int FrameCount() const { return cols_ * rows_; }

    // The block's pixels as (left, top, right, bottom), right and bottom exclusive.
    int Left(int col) const;
    int Right(int col) const;
    int Top(int row) const;
    int Bottom(int row) const;
    HalfOpenRect BlockRect(BlockCell cell) const;

    // The puzzle piece's extent: the block widened by the knob size across its tabs, never past
    // the picture's edges.
    HalfOpenRect PieceRect(BlockCell cell, int knob) const;

private:
    int width_, height_, cols_, rows_;
};

// Sub-styles per style: 8 for style 2, 4 for styles 3 and 4, 0 for the random style, else 1.
int BlockSubStyleCount(int style);

// The sub-style that plays the same order backwards.
int BlockReversedSubStyle(int style, int subStyle);

}  // namespace lumetta
