// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/puzzle_pieces.h"
#include "transitions/core/pixels/pixel_size.h"
#include "transitions/core/shapes/mono_paint.h"

#include <gtest/gtest.h>

namespace lumetta {

namespace {

bool AllSet(const MonoBitmap &image, const HalfOpenRect &r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!MonoPixel(image.View(), x, y))
                return false;
    return true;
}

PixelSize SizeOf(const MonoBitmap &image)
{
    return {image.Width(), image.Height()};
}

}  // namespace

TEST(Puzzle, KnobAndPieceSizesOf800x600)
{
    const BlockGrid grid(800, 600, 30, 30, 0, 0, true);
    const PuzzlePieces pieces(grid);
    EXPECT_EQ(pieces.Knob(), 6);  // [20 / 3.5]
    EXPECT_EQ(SizeOf(pieces.Vertical(1)), (PixelSize{26, 20 + 12}));
    EXPECT_EQ(SizeOf(pieces.Vertical(2)), (PixelSize{27, 20 + 12}));
    EXPECT_EQ(SizeOf(pieces.Vertical(3)), (PixelSize{26, 21 + 12}));
    EXPECT_EQ(SizeOf(pieces.Horizontal(4)), (PixelSize{27 + 12, 21}));
    EXPECT_EQ(SizeOf(pieces.Horizontal(1)), (PixelSize{26 + 12, 20}));
}

TEST(Puzzle, VerticalPieceHasTabsUpAndDownAndSocketsAtTheSides)
{
    const PuzzlePieces pieces(BlockGrid(280, 210, 7, 7, 0, 0, true));  // 40 x 30 bodies
    const int k = pieces.Knob();
    ASSERT_EQ(k, 9);  // [30 / 3.5] = [8.57]
    const ConstPixelView v = pieces.Vertical(1).View();
    const int a = (40 - k) / 2, m = (30 + k) / 2;
    EXPECT_TRUE(MonoPixel(v, a + k / 2, k / 2));  // top tab
    EXPECT_TRUE(MonoPixel(v, a + k / 2, 30 + k + k / 2));  // bottom tab
    EXPECT_FALSE(MonoPixel(v, 0, 0));
    EXPECT_FALSE(MonoPixel(v, 39, 30 + 2 * k - 1));
    EXPECT_FALSE(MonoPixel(v, 1, m + k / 2));  // left socket
    EXPECT_FALSE(MonoPixel(v, 38, m + k / 2));  // right socket
    EXPECT_TRUE(MonoPixel(v, 20, k + 1));  // body
    EXPECT_TRUE(MonoPixel(v, 0, k));  // body corner
    const ConstPixelView h = pieces.Horizontal(1).View();
    const int n = (30 - k) / 2, q = (40 + k) / 2;
    EXPECT_TRUE(MonoPixel(h, k / 2, n + k / 2));
    EXPECT_TRUE(MonoPixel(h, 40 + k + k / 2, n + k / 2));
    EXPECT_FALSE(MonoPixel(h, q + k / 2, 1));
    EXPECT_FALSE(MonoPixel(h, q + k / 2, 28));
    EXPECT_FALSE(MonoPixel(h, 0, 0));
}

TEST(Puzzle, PiecesStayInsideTheirRectanglesAndTogetherCoverThePicture)
{
    const int sizes[][4] = {{280, 210, 7, 7}, {800, 600, 30, 30}, {301, 157, 10, 10}, {97, 64, 3, 2}, {10, 8, 1, 1}};
    for (const auto &s : sizes) {
        const BlockGrid grid(s[0], s[1], s[2], s[3], 0, 0, true);
        const PuzzlePieces pieces(grid);
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " grid " << grid.Cols() << "x" << grid.Rows());
        MonoBitmap all(s[0], s[1]);
        for (int row = 1; row <= grid.Rows(); ++row)
            for (int col = 1; col <= grid.Cols(); ++col) {
                MonoBitmap one(s[0], s[1]);
                pieces.Paint(one.View(), {col, row});
                const HalfOpenRect allowed = grid.PieceRect({col, row}, pieces.Knob());
                for (int y = 0; y < s[1]; ++y)
                    for (int x = 0; x < s[0]; ++x)
                        if (MonoPixel(one.View(), x, y)
                            && !(x >= allowed.left && x < allowed.right && y >= allowed.top && y < allowed.bottom))
                            FAIL() << "piece " << col << "," << row << " sets " << x << "," << y;
                pieces.Paint(all.View(), {col, row});
            }
        EXPECT_TRUE(AllSet(all, {0, 0, s[0], s[1]}));
    }
}

TEST(Puzzle, OuterEdgesAreStraight)
{
    const BlockGrid grid(280, 210, 7, 7, 0, 0, true);
    const PuzzlePieces pieces(grid);
    const int k = pieces.Knob();
    MonoBitmap mask(280, 210);
    pieces.Paint(mask.View(), {2, 1});  // horizontal piece in the top row: its top socket is filled
    EXPECT_TRUE(AllSet(mask, {grid.Left(2), 0, grid.Left(2) + 40, k}));
    pieces.Paint(mask.View(), {7, 7});  // vertical piece in the last column: its right socket is filled
    EXPECT_TRUE(AllSet(mask, {280 - k, grid.Top(7), 280, grid.Top(7) + 30}));
    MonoBitmap inner(280, 210);
    pieces.Paint(inner.View(), {3, 3});  // vertical piece inside: both sockets open
    const int m = grid.Top(3) - k + (30 + k) / 2;
    EXPECT_FALSE(MonoPixel(inner.View(), grid.Left(3), m + k / 2));
    EXPECT_FALSE(MonoPixel(inner.View(), grid.Right(3) - 1, m + k / 2));
}

}  // namespace lumetta
