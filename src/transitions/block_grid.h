#pragma once

#include <QRect>

#include <cstdint>
#include <vector>

// The block effect's geometry without any bitmap: the grid, the block rectangles and the
// orders in which the blocks are uncovered. Columns and rows count from 1.
namespace lumetta {

struct BlockCell {
    int col = 0;
    int row = 0;
    friend bool operator==(const BlockCell &, const BlockCell &) = default;
};

class BlockGrid {
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
    QRect BlockRect(BlockCell cell) const;

    // The puzzle piece's extent: the block widened by the knob size across its tabs, never past
    // the picture's edges.
    QRect PieceRect(BlockCell cell, int knob) const;

private:
    int width_, height_, cols_, rows_;
};

// Sub-styles per style: 8 for style 2, 4 for styles 3 and 4, 0 for the random style, else 1.
int BlockSubStyleCount(int style);

// The sub-style that plays the same order backwards.
int BlockReversedSubStyle(int style, int subStyle);

// Yields the blocks of one run in order, one call per block, starting with block 1.
// Style 1 walks two random permutations diagonally; 2 runs rows or columns, 3 serpentines,
// 4 spirals. A style above 4 plays as style 1, and a sub-style the style does not offer plays
// as its sub-style 1, so any stored setting still uncovers every block.
class BlockOrder {
public:
    // Style 1 draws its permutations from the shared generator here.
    BlockOrder(int cols, int rows, int style, int subStyle);

    BlockCell Next();
    int Style() const { return style_; }
    int SubStyle() const { return subStyle_; }

private:
    BlockCell rowsAndColumns(int k) const;
    BlockCell serpentine(int k) const;
    BlockCell nextRandom(int k);
    BlockCell nextSpiral();
    BlockCell outwardSpiral(int k) const;

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
