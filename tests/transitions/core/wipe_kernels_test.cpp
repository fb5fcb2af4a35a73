// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/wipe_kernels.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace lumetta {

// The widened mask selects exactly as the mask bits do.
TEST(BandKernels, WidenedMaskSelectsAsTheBits)
{
    std::mt19937 gen(7);
    for (int bpp = 1; bpp <= 4; ++bpp) {
        for (int width : {0, 1, 3, 5, 15, 16, 17, 33, 63, 101}) {
            for (int bitOffset : {0, 1, 7, 9, 74}) {
                for (int start : {0, 1, 3}) {
                    const std::size_t bytes = std::size_t(width + start) * bpp + 16;
                    std::vector<std::uint8_t> o(bytes), n(bytes), bits(std::size_t(bitOffset + width) / 8 + 2);
                    for (auto &v : o)
                        v = std::uint8_t(gen());
                    for (auto &v : n)
                        v = std::uint8_t(gen());
                    for (auto &v : bits)
                        v = std::uint8_t(gen());
                    std::vector<std::uint8_t> ref(bytes, 0x5A), fast(bytes, 0x5A), sel(std::size_t(width) * bpp + 1);
                    const std::size_t at = std::size_t(start) * bpp;
                    MaskSelectRowC(bits.data(), bitOffset, n.data() + at, o.data() + at, ref.data() + at, width,
                                   bpp * 8);
                    ExpandMaskRow(bits.data(), bitOffset, sel.data(), width, bpp);
                    for (const WipeKernels &variant : WipeKernelVariants()) {
                        std::vector<std::uint8_t> widened(bytes, 0x5A);
                        variant.selectRowBytes(o.data() + at, n.data() + at, sel.data(), widened.data() + at,
                                               std::ptrdiff_t(width) * bpp);
                        ASSERT_EQ(ref, widened)
                            << variant.name << " bpp " << bpp << " width " << width << " offset " << bitOffset;
                    }
                }
            }
        }
    }
}

TEST(BandKernels, BitSelectReadsNoMaskBytePastTheLastBit)
{
    std::mt19937 gen(11);
    for (int width : {0, 1, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 20, 33, 50, 101}) {
        for (int bitOffset : {0, 1, 3, 7, 8, 9, 13, 74}) {
            for (int start : {0, 1, 3}) {
                const std::size_t bytes = std::size_t(width + start) * 4 + 13;
                // The mask ends right after its last bit, so a read past it would show under a checker.
                std::vector<std::uint8_t> o(bytes), n(bytes), bits(std::size_t(bitOffset + width + 7) / 8);
                for (auto &v : o)
                    v = std::uint8_t(gen());
                for (auto &v : n)
                    v = std::uint8_t(gen());
                for (auto &v : bits)
                    v = std::uint8_t(gen());
                std::vector<std::uint8_t> ref(bytes, 0x5A);
                const std::size_t at = std::size_t(start) * 4;
                MaskSelectRowC(bits.data(), bitOffset, n.data() + at, o.data() + at, ref.data() + at, width, 32);
                for (const MaskKernels &variant : MaskKernelVariants()) {
                    std::vector<std::uint8_t> fast(bytes, 0x5A);
                    variant.selectRow(bits.data(), bitOffset, n.data() + at, o.data() + at, fast.data() + at, width,
                                      32);
                    ASSERT_EQ(ref, fast) << variant.name << " width " << width << " offset " << bitOffset << " start "
                                         << start;
                }
            }
        }
    }
}

}  // namespace lumetta
