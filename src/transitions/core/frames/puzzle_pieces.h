// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/block_grid.h"
#include "transitions/core/pixels/mono_bitmap.h"

#include <array>

namespace lumetta {

// The jigsaw pieces of a puzzle grid. Cells whose column plus row is odd are horizontal pieces
// (tabs left and right, sockets above and below); the others are vertical pieces, so every tab
// meets a socket. A block is W div C or W div C + 1 wide and H div R or H div R + 1 high, so four
// body sizes of each kind cover every cell.
class PuzzlePieces
{
public:
    explicit PuzzlePieces(const BlockGrid &grid);

    // Diameter of the tabs and sockets.
    int Knob() const { return knob_; }

    // Body 1..4: width W div C (+1 for even bodies), height H div R (+1 for bodies 3 and 4).
    // A vertical piece is w x (h + 2K) with the body K rows down; a horizontal one is
    // (w + 2K) x h with the body K columns in.
    const MonoBitmap &Vertical(int body) const { return vertical_[std::size_t(body - 1)]; }
    const MonoBitmap &Horizontal(int body) const { return horizontal_[std::size_t(body - 1)]; }

    // Sets the piece of the cell in the mask; sockets on the picture's outer edge are filled,
    // so the border stays straight.
    void Paint(const PixelView &mask, BlockCell cell) const;

private:
    BlockGrid grid_;
    int knob_;
    std::array<MonoBitmap, 4> vertical_, horizontal_;
};

}  // namespace lumetta
