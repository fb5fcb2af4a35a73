// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/pixel_run_copier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace lumetta {

namespace {

// Rows of distinct bytes, stride wider than the area.
std::vector<std::uint8_t> Picture(int stride, int rows, int seed)
{
    std::vector<std::uint8_t> bytes(std::size_t(stride * rows));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 7 + std::size_t(seed) * 101);
    return bytes;
}

}  // namespace

// Every pixel size and every run length up to beyond the in-place copies, at every start, clipped
// to the area, with the pixel size known at run time and fixed at compile time: exactly the run's
// bytes change.
TEST(PixelRunCopier, CopiesExactlyTheRunsBytes)
{
    const int width = 45, height = 3;
    for (int variant = 0; variant < 8; ++variant) {
        const int bytes = variant % 4 + 1;
        const bool fixed = variant >= 4;
        const int stride = width * bytes + 5;
        const std::vector<std::uint8_t> from = Picture(stride, height, 1);
        for (int x0 = -3; x0 <= width; ++x0)
            for (int length = 0; x0 + length <= width + 3; ++length) {
                std::vector<std::uint8_t> to = Picture(stride, height, 2);
                const std::vector<std::uint8_t> before = to;
                const PixelRunCopier copier(from.data(), stride, to.data(), stride, width, height, bytes);
                int a = x0, b = x0 + length;
                bool copied = false;
                if (fixed)
                    copier.WithFixedPixelSize([&](auto sized) { copied = sized.Copy(1, a, b); });
                else
                    copied = copier.Copy(1, a, b);
                const int first = std::max(x0, 0), last = std::min(x0 + length, width);
                ASSERT_EQ(copied, first < last) << bytes << " bytes, fixed " << fixed << ", " << x0 << "+" << length;
                if (copied) {
                    EXPECT_EQ(a, first);
                    EXPECT_EQ(b, last);
                }
                for (int i = 0; i < stride * height; ++i) {
                    const int row = i / stride, column = i % stride / bytes;
                    const bool inRun = row == 1 && i % stride < width * bytes && column >= first && column < last;
                    ASSERT_EQ(to[std::size_t(i)], inRun ? from[std::size_t(i)] : before[std::size_t(i)])
                        << bytes << " bytes, fixed " << fixed << ", " << x0 << "+" << length << " at byte " << i;
                }
            }
    }
}

// Rows outside the area and empty runs change nothing.
TEST(PixelRunCopier, RowsOutsideTheAreaAreLeftOut)
{
    const std::vector<std::uint8_t> from = Picture(16, 2, 1);
    std::vector<std::uint8_t> to = Picture(16, 2, 2);
    const std::vector<std::uint8_t> before = to;
    const PixelRunCopier copier(from.data(), 16, to.data(), 16, 4, 2, 4);
    for (int y : {-1, 2, 1 << 30}) {
        int x0 = 0, x1 = 4;
        EXPECT_FALSE(copier.Copy(y, x0, x1));
    }
    copier(0, 3, 3);
    copier(0, 4, 9);
    copier(1, -5, 0);
    EXPECT_EQ(to, before);
    // One made without pictures has no area.
    int x0 = 0, x1 = 1;
    EXPECT_FALSE(PixelRunCopier().Copy(0, x0, x1));
}

}  // namespace lumetta
