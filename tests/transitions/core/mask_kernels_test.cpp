// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/mask_kernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace lumetta {

namespace {

const int kFormats[] = {4, 8, 15, 16, 24, 32};

int RowBytes(int width, int bpp)
{
    return (width * (bpp == 15 ? 16 : bpp) + 7) / 8;
}

std::vector<std::uint8_t> Noise(size_t bytes, std::mt19937 &gen)
{
    std::vector<std::uint8_t> v(bytes);
    for (auto &b : v)
        b = std::uint8_t(gen());
    return v;
}

// The value of pixel i of a row, as the rule sees it.
std::uint32_t PixelAt(const std::uint8_t *row, int i, int bpp)
{
    if (bpp == 4)
        return (i & 1) ? row[i / 2] & 0x0F : row[i / 2] >> 4;
    const int bytes = (bpp == 15 ? 16 : bpp) / 8;
    std::uint32_t v = 0;
    std::memcpy(&v, row + i * bytes, bytes);
    return v;
}

bool BitAt(const std::uint8_t *mask, int i)
{
    return mask[i / 8] & (0x80 >> (i % 8));
}

}  // namespace

TEST(MaskKernels, ReferenceFollowsTheSelectionRule)
{
    std::mt19937 gen(7);
    for (int bpp : kFormats) {
        const int width = 45;
        const auto mask = Noise(8, gen);
        const auto src = Noise(RowBytes(width, bpp), gen);
        const auto old = Noise(RowBytes(width, bpp), gen);
        auto copied = old;
        MaskCopyRowC(mask.data(), src.data(), copied.data(), width, bpp);
        for (int i = 0; i < width; ++i) {
            const auto &from = BitAt(mask.data(), i) ? src : old;
            EXPECT_EQ(PixelAt(copied.data(), i, bpp), PixelAt(from.data(), i, bpp)) << "bpp " << bpp << " pixel " << i;
        }
        // The selection reads the mask from any bit on.
        for (int bitOffset : {0, 5, 11}) {
            std::vector<std::uint8_t> selected(old.size(), 0);
            MaskSelectRowC(mask.data(), bitOffset, src.data(), old.data(), selected.data(), width, bpp);
            for (int i = 0; i < width; ++i) {
                const auto &from = BitAt(mask.data(), bitOffset + i) ? src : old;
                EXPECT_EQ(PixelAt(selected.data(), i, bpp), PixelAt(from.data(), i, bpp))
                    << "bpp " << bpp << " bit offset " << bitOffset << " pixel " << i;
            }
        }
    }
}

TEST(MaskKernels, CombineTouchesOnlyTheGivenRows)
{
    std::mt19937 gen(5);
    struct Case
    {
        int width;
        std::intptr_t pixelStride;  // bytes per row of the pictures; padded in the second case
        int bpp;
    };
    const Case cases[] = {{64, 64 * 4, 32}, {64, 64 * 3 + 12, 24}, {96, 96 / 2, 4}};
    for (const Case &c : cases) {
        const int height = 6, top = 2, bottom = 5;
        const int maskStride = c.width / 8;
        auto mask = std::vector<std::uint8_t>(maskStride * height, 0xFF);
        auto src = Noise(c.pixelStride * height, gen);
        auto old = Noise(c.pixelStride * height, gen);
        auto work = old;
        const MaskPlane m{mask.data(), maskStride};
        const MaskPlane n{src.data(), c.pixelStride};
        const MaskPlane w{work.data(), c.pixelStride};
        CombineMaskedRows(m, n, w, w, c.width, top, bottom, c.bpp);
        const size_t packed = RowBytes(c.width, c.bpp);
        for (int y = 0; y < height; ++y) {
            const auto &expected = (y >= top && y < bottom) ? src : old;
            EXPECT_EQ(0, std::memcmp(work.data() + y * c.pixelStride, expected.data() + y * c.pixelStride, packed))
                << "bpp " << c.bpp << " row " << y;
        }
        // Two sources: the result row comes from new where set and old elsewhere.
        std::fill(mask.begin(), mask.end(), 0x00);
        std::vector<std::uint8_t> out(c.pixelStride * height, 0);
        const MaskPlane o{old.data(), c.pixelStride};
        CombineMaskedRows(m, n, o, {out.data(), c.pixelStride}, c.width, 0, height, c.bpp);
        for (int y = 0; y < height; ++y)
            EXPECT_EQ(0, std::memcmp(out.data() + y * c.pixelStride, old.data() + y * c.pixelStride, packed));
    }
}

}  // namespace lumetta
