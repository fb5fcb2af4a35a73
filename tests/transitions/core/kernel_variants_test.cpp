// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/blend_kernels.h"
#include "transitions/core/kernels/drip_kernels.h"
#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/kernels/wipe_kernels.h"

#include "pixel_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lumetta {

// Every faster variant of every kernel family against the family's plain reference, on odd
// widths and on source and destination rows that start at odd offsets.
using lumetta::test::ReferenceSwitch;

namespace {

const int kWidths[] = {1, 3, 7, 31, 33, 65, 1921};
// Offsets of source and destination rows from an aligned start: bytes, or words for the blend.
const int kOffsets[] = {0, 1, 3};

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::mt19937 &rng, std::size_t count)
{
    Bytes bytes(count);
    for (std::uint8_t &b : bytes)
        b = std::uint8_t(rng());
    return bytes;
}

struct Variant
{
    std::string family;
    int index;
    std::string name;
};

template <class Kernels>
void AddFaster(std::vector<Variant> &out, const char *family, const std::vector<Kernels> &variants)
{
    for (std::size_t i = 1; i < variants.size(); ++i)
        out.push_back({family, int(i), variants[i].name});
}

std::vector<Variant> FasterVariants()
{
    std::vector<Variant> out;
    AddFaster(out, "blend", BlendKernelVariants());
    AddFaster(out, "wipe", WipeKernelVariants());
    AddFaster(out, "mask", MaskKernelVariants());
    AddFaster(out, "drip", DripKernelVariants());
    return out;
}

void CheckBlend(const BlendKernels &fast, const BlendKernels &ref)
{
    std::mt19937 rng(7);
    const BlendWordFormat formats[] = {BlendWordFormat::Bytes, BlendWordFormat::Bytes32, BlendWordFormat::Rgb555,
                                       BlendWordFormat::Rgb565};
    for (BlendWordFormat format : formats)
        for (int level = 0; level <= 64; ++level)
            for (int width : kWidths)
                for (int srcOffset : kOffsets)
                    for (int dstOffset : kOffsets) {
                        const int total = width + 8;
                        std::vector<std::uint32_t> o(total), n(total), expected(total);
                        for (int i = 0; i < total; ++i) {
                            o[i] = rng();
                            // Some equal words: those must stay unwritten.
                            n[i] = rng() % 4 == 0 ? o[i] : std::uint32_t(rng());
                            expected[i] = rng();
                        }
                        // Equal words sit at the same index of the two sources.
                        std::vector<std::uint32_t> actual = expected;
                        ref.blendRow(o.data() + srcOffset, n.data() + srcOffset, expected.data() + dstOffset, width,
                                     level, format);
                        fast.blendRow(o.data() + srcOffset, n.data() + srcOffset, actual.data() + dstOffset, width,
                                      level, format);
                        ASSERT_EQ(actual, expected) << "format " << int(format) << " level " << level << " width "
                                                    << width << " offsets " << srcOffset << ", " << dstOffset;
                        // The whole-row mix over whatever the target holds.
                        actual = expected;
                        ref.blendRowWhole(o.data() + srcOffset, n.data() + srcOffset, expected.data() + dstOffset,
                                          width, level, format);
                        fast.blendRowWhole(o.data() + srcOffset, n.data() + srcOffset, actual.data() + dstOffset, width,
                                           level, format);
                        ASSERT_EQ(actual, expected)
                            << "whole row, format " << int(format) << " level " << level << " width " << width
                            << " offsets " << srcOffset << ", " << dstOffset;
                    }
    // Runs of a few MiB take the store path that bypasses the cache.
    const int words = (1 << 20) + 13;
    std::vector<std::uint32_t> o(words + 8), n(words + 8), start(words + 8);
    for (int i = 0; i < words + 8; ++i) {
        o[i] = rng();
        n[i] = rng() % 8 == 0 ? o[i] : std::uint32_t(rng());
        start[i] = rng();
    }
    for (int offset : {0, 3})
        for (int level : {5, 11, 32, 59}) {
            std::vector<std::uint32_t> expected = start, actual = start;
            ref.blendRow(o.data() + offset, n.data() + offset, expected.data() + offset, words - offset, level,
                         BlendWordFormat::Bytes32);
            fast.blendRow(o.data() + offset, n.data() + offset, actual.data() + offset, words - offset, level,
                          BlendWordFormat::Bytes32);
            ASSERT_EQ(actual, expected) << "whole frame, level " << level << " offset " << offset;
            expected = start;
            actual = start;
            ref.blendRowWhole(o.data() + offset, n.data() + offset, expected.data() + offset, words - offset, level,
                              BlendWordFormat::Bytes32);
            fast.blendRowWhole(o.data() + offset, n.data() + offset, actual.data() + offset, words - offset, level,
                               BlendWordFormat::Bytes32);
            ASSERT_EQ(actual, expected) << "whole frame, every word, level " << level << " offset " << offset;
        }
}

// Every pair of old and new byte in every byte channel, at every level: the rows a variant works
// out another way (by table, say) must agree on each value, not only on a sample.
void CheckBlendEveryBytePair(const BlendKernels &fast, const BlendKernels &ref)
{
    std::vector<std::uint32_t> o(1 << 16), n(1 << 16);
    for (std::uint32_t pair = 0; pair < (1u << 16); ++pair) {
        o[pair] = (pair >> 8) * 0x01010101u;
        n[pair] = (pair & 0xFF) * 0x01010101u;
    }
    for (BlendWordFormat format : {BlendWordFormat::Bytes, BlendWordFormat::Bytes32})
        for (int level = 1; level <= 63; ++level) {
            std::vector<std::uint32_t> expected(o.size(), 0x5A5A5A5Au), actual = expected;
            ref.blendRowWhole(o.data(), n.data(), expected.data(), int(o.size()), level, format);
            fast.blendRowWhole(o.data(), n.data(), actual.data(), int(o.size()), level, format);
            for (std::size_t i = 0; i < o.size(); ++i)
                ASSERT_EQ(actual[i], expected[i]) << "format " << int(format) << " level " << level << " old byte "
                                                  << (i >> 8) << " new byte " << (i & 0xFF);
        }
}

void CheckPatternCopy(const BlendKernels &fast, const BlendKernels &ref)
{
    std::mt19937 rng(11);
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel)
        for (int cells = 0; cells < 256; ++cells)
            for (int width : kWidths)
                for (int srcOffset : kOffsets)
                    for (int dstOffset : kOffsets) {
                        if (width == 1921 && cells % 17 != 0)
                            continue;  // the long row with a sample of the patterns
                        const std::size_t total = std::size_t(width * bytesPerPixel + 32);
                        const Bytes src = RandomBytes(rng, total);
                        Bytes expected = RandomBytes(rng, total);
                        Bytes actual = expected;
                        ref.patternCopyRow(src.data() + srcOffset, expected.data() + dstOffset, width, bytesPerPixel,
                                           std::uint8_t(cells));
                        fast.patternCopyRow(src.data() + srcOffset, actual.data() + dstOffset, width, bytesPerPixel,
                                            std::uint8_t(cells));
                        ASSERT_EQ(actual, expected) << "bpp " << bytesPerPixel << " cells " << cells << " width "
                                                    << width << " offsets " << srcOffset << ", " << dstOffset;
                    }
}

void CheckSelectBytes(const WipeKernels &fast, const WipeKernels &ref)
{
    std::mt19937 rng(3);
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel)
        for (int width : kWidths)
            for (int srcOffset : kOffsets)
                for (int dstOffset : kOffsets) {
                    const qsizetype count = qsizetype(width) * bytesPerPixel;
                    const std::size_t total = std::size_t(count + 8);
                    const Bytes o = RandomBytes(rng, total), n = RandomBytes(rng, total);
                    Bytes select(total);
                    for (std::size_t i = 0; i < total; i += std::size_t(bytesPerPixel)) {
                        const std::uint8_t on = rng() % 2 ? 0xFF : 0x00;
                        for (int b = 0; b < bytesPerPixel && i + std::size_t(b) < total; ++b)
                            select[i + std::size_t(b)] = on;
                    }
                    Bytes expected = RandomBytes(rng, total);
                    Bytes actual = expected;
                    ref.selectRowBytes(o.data() + srcOffset, n.data() + srcOffset, select.data() + srcOffset,
                                       expected.data() + dstOffset, count);
                    fast.selectRowBytes(o.data() + srcOffset, n.data() + srcOffset, select.data() + srcOffset,
                                        actual.data() + dstOffset, count);
                    ASSERT_EQ(actual, expected) << "bpp " << bytesPerPixel << " width " << width << " offsets "
                                                << srcOffset << ", " << dstOffset;
                }
}

// Mask rows mixing runs of clear and set bytes (the shapes' common case) with noise.
Bytes MaskBits(std::mt19937 &rng, std::size_t count)
{
    Bytes mask(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int kind = int(rng() % 4);
        mask[i] = kind == 0 ? 0x00 : kind == 1 ? 0xFF : std::uint8_t(rng());
    }
    return mask;
}

void CheckMask(const MaskKernels &fast, const MaskKernels &ref)
{
    std::mt19937 rng(9);
    for (int bpp : {4, 8, 15, 16, 24, 32})
        for (int width : kWidths)
            for (int srcOffset : kOffsets)
                for (int dstOffset : kOffsets) {
                    const std::size_t rowBytes = std::size_t((width * (bpp == 15 ? 16 : bpp) + 7) / 8);
                    const std::size_t total = rowBytes + 16;
                    const Bytes mask = MaskBits(rng, std::size_t(width / 8 + 4));
                    const Bytes src = RandomBytes(rng, total), old = RandomBytes(rng, total);
                    const Bytes start = RandomBytes(rng, total);
                    Bytes expected = start, actual = start;
                    ref.copyRow(mask.data(), src.data() + srcOffset, expected.data() + dstOffset, width, bpp);
                    fast.copyRow(mask.data(), src.data() + srcOffset, actual.data() + dstOffset, width, bpp);
                    ASSERT_EQ(actual, expected)
                        << "copy bpp " << bpp << " width " << width << " offsets " << srcOffset << ", " << dstOffset;
                    for (int bitOffset : {0, 1, 5, 8, 13}) {
                        expected = start;
                        actual = start;
                        ref.selectRow(mask.data(), bitOffset, src.data() + srcOffset, old.data() + srcOffset,
                                      expected.data() + dstOffset, width, bpp);
                        fast.selectRow(mask.data(), bitOffset, src.data() + srcOffset, old.data() + srcOffset,
                                       actual.data() + dstOffset, width, bpp);
                        ASSERT_EQ(actual, expected) << "select bpp " << bpp << " width " << width << " bit offset "
                                                    << bitOffset << " offsets " << srcOffset << ", " << dstOffset;
                        // dst may be either source itself.
                        Bytes aliasedRef = old, aliasedFast = old;
                        ref.selectRow(mask.data(), bitOffset, src.data(), aliasedRef.data() + dstOffset,
                                      aliasedRef.data() + dstOffset, width, bpp);
                        fast.selectRow(mask.data(), bitOffset, src.data(), aliasedFast.data() + dstOffset,
                                       aliasedFast.data() + dstOffset, width, bpp);
                        ASSERT_EQ(aliasedFast, aliasedRef)
                            << "select into old, bpp " << bpp << " width " << width << " bit offset " << bitOffset;
                        aliasedRef = src;
                        aliasedFast = src;
                        ref.selectRow(mask.data(), bitOffset, aliasedRef.data() + dstOffset, old.data(),
                                      aliasedRef.data() + dstOffset, width, bpp);
                        fast.selectRow(mask.data(), bitOffset, aliasedFast.data() + dstOffset, old.data(),
                                       aliasedFast.data() + dstOffset, width, bpp);
                        ASSERT_EQ(aliasedFast, aliasedRef)
                            << "select into new, bpp " << bpp << " width " << width << " bit offset " << bitOffset;
                    }
                }
}

void CheckFill(const DripKernels &fast, const DripKernels &ref)
{
    std::mt19937 rng(13);
    // Pixel-aligned starts at several phases of a 32-byte line too: the vector fill aligns its
    // stores only on those.
    const int dstOffsets[] = {0, 1, 2, 3, 4, 8, 20};
    for (const FillRowFn fill : {fast.fillRow, fast.fillRowStreaming})
        for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel)
            for (int width : kWidths)
                for (int srcOffset : kOffsets)
                    for (int dstOffset : dstOffsets) {
                        const std::size_t total = std::size_t(width * bytesPerPixel + 40);
                        const Bytes pixel = RandomBytes(rng, 8);
                        Bytes expected = RandomBytes(rng, total);
                        Bytes actual = expected;
                        ref.fillRow(expected.data() + dstOffset, pixel.data() + srcOffset, width, bytesPerPixel);
                        fill(actual.data() + dstOffset, pixel.data() + srcOffset, width, bytesPerPixel);
                        ASSERT_EQ(actual, expected)
                            << (fill == fast.fillRow ? "fill" : "streaming fill") << " bpp " << bytesPerPixel
                            << " width " << width << " offsets " << srcOffset << ", " << dstOffset;
                    }
}

class KernelVariants : public testing::TestWithParam<Variant>
{
};

TEST_P(KernelVariants, MatchTheReferenceOnOddWidthsAndOffsets)
{
    const Variant &v = GetParam();
    const auto i = std::size_t(v.index);
    if (v.family == "blend") {
        CheckBlend(BlendKernelVariants()[i], BlendKernelVariants().front());
        CheckBlendEveryBytePair(BlendKernelVariants()[i], BlendKernelVariants().front());
        CheckPatternCopy(BlendKernelVariants()[i], BlendKernelVariants().front());
    } else if (v.family == "wipe") {
        CheckSelectBytes(WipeKernelVariants()[i], WipeKernelVariants().front());
    } else if (v.family == "mask") {
        CheckMask(MaskKernelVariants()[i], MaskKernelVariants().front());
    } else {
        CheckFill(DripKernelVariants()[i], DripKernelVariants().front());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, KernelVariants, testing::ValuesIn(FasterVariants()),
                         [](const testing::TestParamInfo<Variant> &info) {
                             return info.param.family + "_" + info.param.name;
                         });

template <class Kernels>
void ExpectSwitchForcesReference(const std::vector<Kernels> &variants)
{
    {
        ReferenceSwitch reference(true);
        EXPECT_STREQ(KernelsInUse(variants).name, "reference");
    }
    ReferenceSwitch fast(false);
    EXPECT_STREQ(KernelsInUse(variants).name, variants.back().name);
}

}  // namespace

TEST(KernelSwitch, ForcesTheReferenceInEveryFamily)
{
    ExpectSwitchForcesReference(BlendKernelVariants());
    ExpectSwitchForcesReference(WipeKernelVariants());
    ExpectSwitchForcesReference(MaskKernelVariants());
    ExpectSwitchForcesReference(DripKernelVariants());
}

}  // namespace lumetta
