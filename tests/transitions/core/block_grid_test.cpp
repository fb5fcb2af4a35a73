// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/block_grid.h"
#include "transitions/engine/core_conversions.h"

#include <gtest/gtest.h>

namespace lumetta {

using lumetta::BlockCell;
using lumetta::BlockGrid;

TEST(BlockGrid, SizeRules)
{
    struct Case
    {
        int w, h, cols, rows, bw, bh;
        bool puzzle;
        int wantCols, wantRows;
    } cases[] = {
        {800, 600, 30, 30, 0, 0, false, 30, 30},
        {800, 600, 30, 30, 0, 0, true, 30, 30},  // 600 div 30 = 20 >= 15
        {400, 600, 30, 30, 0, 0, true, 26, 30},  // 400 div 30 = 13 < 15: 400 div 15
        {800, 600, 0, 0, 50, 50, false, 16, 12},
        {825, 875, 0, 0, 50, 50, false, 16, 18},  // 16.5 and 17.5 round to even
        {800, 600, 0, 0, 2000, 2000, false, 1, 1},  // [0.4] = 0, at least one
        {800, 600, 1000, 30, 0, 0, false, 800, 30},  // never more columns than pixels
        {10, 8, 30, 30, 0, 0, true, 1, 1},  // smaller than one piece: one piece
        {0, 0, 30, 30, 0, 0, false, 0, 0},
    };
    for (const Case &c : cases) {
        BlockGrid g(c.w, c.h, c.cols, c.rows, c.bw, c.bh, c.puzzle);
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " cols " << c.cols << " puzzle " << c.puzzle);
        EXPECT_EQ(g.Cols(), c.wantCols);
        EXPECT_EQ(g.Rows(), c.wantRows);
        EXPECT_EQ(g.FrameCount(), c.wantCols * c.wantRows);
    }
}

TEST(BlockGrid, PixelBlocksWhenEveryBlockIsOnePixel)
{
    EXPECT_TRUE(BlockGrid(40, 30, 40, 30, 0, 0, false).PixelBlocks());
    EXPECT_TRUE(BlockGrid(40, 30, 90, 90, 0, 0, false).PixelBlocks());
    EXPECT_FALSE(BlockGrid(40, 30, 40, 15, 0, 0, false).PixelBlocks());
}

TEST(BlockGrid, BlocksOf800x600Tile30x30)
{
    BlockGrid g(800, 600, 30, 30, 0, 0, false);
    EXPECT_EQ(g.FrameCount(), 900);
    for (int c = 1; c <= 30; ++c) {
        const int w = g.Right(c) - g.Left(c);
        EXPECT_TRUE(w == 26 || w == 27) << c;
        if (c < 30) {
            EXPECT_EQ(g.Right(c), g.Left(c + 1));
        }
    }
    for (int r = 1; r <= 30; ++r)
        EXPECT_EQ(g.Bottom(r) - g.Top(r), 20);
    EXPECT_EQ(g.Left(1), 0);
    EXPECT_EQ(g.Right(30), 800);
    EXPECT_EQ(QRectOf(g.BlockRect({2, 3})), QRect(27, 40, 26, 20));  // [26.67] = 27, [53.33] = 53
}

TEST(BlockGrid, EdgesRoundHalvesToEven)
{
    EXPECT_EQ(BlockGrid(5, 1, 2, 1, 0, 0, false).Left(2), 2);  // 2.5
    EXPECT_EQ(BlockGrid(7, 1, 2, 1, 0, 0, false).Left(2), 4);  // 3.5
    EXPECT_EQ(BlockGrid(1, 9, 1, 2, 0, 0, false).Bottom(1), 4);  // 4.5
}

TEST(BlockGrid, PuzzlePiecesWidenAcrossTheirTabsInsideThePicture)
{
    BlockGrid g(800, 600, 30, 30, 0, 0, true);
    const int k = 6;
    // Column plus row odd: tabs left and right.
    EXPECT_EQ(QRectOf(g.PieceRect({2, 1}, k)), QRect(27 - 6, 0, 26 + 12, 20));
    EXPECT_EQ(QRectOf(g.PieceRect({1, 2}, k)), QRect(0, 20, 27 + 6, 20));
    EXPECT_EQ(QRectOf(g.PieceRect({30, 29}, k)), QRect(g.Left(30) - 6, 560, 800 - g.Left(30) + 6, 20));
    // Even: tabs up and down.
    EXPECT_EQ(QRectOf(g.PieceRect({2, 2}, k)), QRect(27, 20 - 6, 26, 20 + 12));
    EXPECT_EQ(QRectOf(g.PieceRect({1, 1}, k)), QRect(0, 0, 27, 20 + 6));
    EXPECT_EQ(QRectOf(g.PieceRect({30, 30}, k)), QRect(g.Left(30), 580 - 6, 800 - g.Left(30), 26));
}

}  // namespace lumetta
