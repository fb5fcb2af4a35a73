// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/blend_kernels.h"

#include "pixel_helpers.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace lumetta {

using lumetta::test::ReferenceSwitch;

namespace {

const char *FormatName(BlendWordFormat format)
{
    switch (format) {
    case BlendWordFormat::Bytes:
        return "Bytes";
    case BlendWordFormat::Bytes32:
        return "Bytes32";
    case BlendWordFormat::Rgb555:
        return "Rgb555";
    case BlendWordFormat::Rgb565:
        return "Rgb565";
    }
    return "?";
}

const BlendWordFormat kFormats[] = {BlendWordFormat::Bytes, BlendWordFormat::Bytes32, BlendWordFormat::Rgb555,
                                    BlendWordFormat::Rgb565};

struct Field
{
    int pos, width;
};

std::vector<Field> FieldsOf(BlendWordFormat format)
{
    switch (format) {
    case BlendWordFormat::Bytes:
        return {{0, 8}, {8, 8}, {16, 8}, {24, 8}};
    case BlendWordFormat::Bytes32:
        return {{0, 8}, {8, 8}, {16, 8}};
    case BlendWordFormat::Rgb555:
        return {{0, 5}, {5, 5}, {10, 5}, {16, 5}, {21, 5}, {26, 5}};
    case BlendWordFormat::Rgb565:
        return {{0, 5}, {5, 6}, {11, 5}, {16, 5}, {21, 6}, {27, 5}};
    }
    return {};
}

std::uint32_t Mix(std::uint32_t o, std::uint32_t n, int level, BlendWordFormat format, BlendRowFn fn = &BlendRow)
{
    std::uint32_t out = o;
    fn(&o, &n, &out, 1, level, format);
    return out;
}

}  // namespace

TEST(BlendKernel, GoldenLevels)
{
    struct Case
    {
        int level;
        BlendWordFormat format;
        std::uint32_t o, n, expected;
    };
    const Case cases[] = {
        // channel by channel: 0 -> 255 and 255 -> 0
        {1, BlendWordFormat::Bytes32, 0xFF000000, 0xFFFFFFFF, 0xFF030303},
        {1, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFFFCFCFC},
        {16, BlendWordFormat::Bytes32, 0xFF000000, 0xFFFFFFFF, 0xFF3F3F3F},
        {16, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFFC0C0C0},
        {32, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F},
        {32, BlendWordFormat::Bytes32, 0xFF000000, 0xFFFFFFFF, 0xFF7F7F7F},
        {40, BlendWordFormat::Bytes32, 0xFF000000, 0xFFFFFFFF, 0xFF9E9E9E},
        {40, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFF616161},
        {63, BlendWordFormat::Bytes32, 0xFF000000, 0xFFFFFFFF, 0xFFFCFCFC},
        {63, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFF030303},
        // R 100 -> 10, G 50 -> 20, B 200 -> 255 at level 16: 77, 43, 213
        {16, BlendWordFormat::Bytes32, 0xFF6432C8, 0xFF0A14FF, 0xFF4D2BD5},
        // levels outside 1..63 mix as 32
        {0, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F},
        {64, BlendWordFormat::Bytes32, 0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F},
        // 24 bits: the top byte is a channel like the others
        {32, BlendWordFormat::Bytes, 0xFFFFFFFF, 0x00000000, 0x7F7F7F7F},
        {32, BlendWordFormat::Bytes, 0xFF000000, 0xFF0000FF, 0xFE00007F},
        // 32 bits: 255 and 255 would give 254 at level 32, the top byte stays 0xFF
        {32, BlendWordFormat::Bytes32, 0xFF000000, 0xFF0000FF, 0xFF00007F},
        // 16 bits: red 31 -> 0 at level 32 gives 16, in both pixels of the word
        {32, BlendWordFormat::Rgb565, 0x0000F800, 0x00000000, 0x00008000},
        {32, BlendWordFormat::Rgb565, 0xF800F800, 0x00000000, 0x80008000},
        // 16 bits: green 0 -> 63 at level 16 gives 15
        {16, BlendWordFormat::Rgb565, 0x00000000, 0x07E007E0, 0x01E001E0},
        // 15 bits: red 31 -> 0 at 32 gives 16; the own form of row 28 gives 17, its mirror 36 gives 14
        {32, BlendWordFormat::Rgb555, 0x7C007C00, 0x00000000, 0x40004000},
        {28, BlendWordFormat::Rgb555, 0x00007C00, 0x00000000, 0x00004400},
        {36, BlendWordFormat::Rgb555, 0x00007C00, 0x00000000, 0x00003800},
        // 15 bits: blue 0 -> 31 at level 4 gives 1, at 60 gives 30
        {4, BlendWordFormat::Rgb555, 0x00000000, 0x0000001F, 0x00000001},
        {60, BlendWordFormat::Rgb555, 0x00000000, 0x0000001F, 0x0000001E},
    };
    for (const BlendKernels &variant : BlendKernelVariants())
        for (const Case &c : cases)
            EXPECT_EQ(Mix(c.o, c.n, c.level, c.format, variant.blendRow), c.expected)
                << variant.name << " level " << c.level << " " << FormatName(c.format) << std::hex << " o " << c.o
                << " n " << c.n;
}

TEST(BlendKernel, EqualWordsAreNotWritten)
{
    const std::uint32_t o[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const std::uint32_t n[11] = {1, 0xFF, 3, 0xFF, 5, 6, 7, 0xFF, 9, 10, 0xFF};
    for (const BlendKernels &variant : BlendKernelVariants()) {
        std::uint32_t out[11];
        std::fill(std::begin(out), std::end(out), 0xDEADBEEF);
        variant.blendRow(o, n, out, 11, 20, BlendWordFormat::Bytes);
        for (int i = 0; i < 11; ++i) {
            if (o[i] == n[i])
                EXPECT_EQ(out[i], 0xDEADBEEFu) << variant.name << " word " << i;
            else
                EXPECT_NE(out[i], 0xDEADBEEFu) << variant.name << " word " << i;
        }
    }
}

// The whole-row mix writes every word, whatever the target held: the mix, or the old word where
// the two agree (the words the plain mix leaves on a target that holds the old row). Widths cover
// the vector body, its tail and a run long enough to be stored around the cache.
TEST(BlendKernel, WholeRowWritesTheMixOrTheOldWordOverAnyTarget)
{
    for (const int words : {11, 37, (1 << 20) + 13}) {
        const auto size = static_cast<std::size_t>(words);
        std::vector<std::uint32_t> o(size), n(size);
        for (int i = 0; i < words; ++i) {
            o[std::size_t(i)] = std::uint32_t(i * 2654435761u);
            n[std::size_t(i)] = i % 3 == 0 ? o[std::size_t(i)] : std::uint32_t(i * 40503u);
        }
        for (const BlendKernels &variant : BlendKernelVariants()) {
            std::vector<std::uint32_t> plain = o, whole(size, 0xDEADBEEFu);
            variant.blendRow(o.data(), n.data(), plain.data(), words, 20, BlendWordFormat::Bytes);
            variant.blendRowWhole(o.data(), n.data(), whole.data(), words, 20, BlendWordFormat::Bytes);
            EXPECT_EQ(whole, plain) << variant.name << ", " << words << " words";
        }
    }
}

// Each channel is mixed on its own (no carry or borrow reaches its neighbours) and weighs the new
// value k/64, give or take the truncation of each term.
TEST(BlendKernel, ChannelsStayInTheirBitsAndFollowTheWeight)
{
    for (BlendWordFormat format : kFormats) {
        const bool narrow = format == BlendWordFormat::Rgb555 || format == BlendWordFormat::Rgb565;
        for (int level = 1; level <= 63; ++level) {
            if (narrow && level % 4 != 0)
                continue;
            double worst = 0;
            for (const Field &field : FieldsOf(format)) {
                const std::uint32_t max = (1u << field.width) - 1;
                for (std::uint32_t o = 0; o <= max; ++o)
                    for (std::uint32_t n = 0; n <= max; ++n) {
                        if (o == n)
                            continue;
                        const std::uint32_t word = Mix(o << field.pos, n << field.pos, level, format, &BlendRowC);
                        const std::uint32_t force = format == BlendWordFormat::Bytes32 ? 0xFF000000u : 0u;
                        const std::uint32_t channel = (word >> field.pos) & max;
                        ASSERT_EQ(word & ~(max << field.pos), force)
                            << FormatName(format) << " level " << level << " o " << o << " n " << n;
                        const double ideal = (o * (64.0 - level) + n * double(level)) / 64.0;
                        worst = std::max(worst, std::abs(double(channel) - ideal));
                    }
            }
            EXPECT_LE(worst, narrow ? 2.0 : 3.0) << FormatName(format) << " level " << level;
        }
    }
}

TEST(PatternCopyKernel, ReferenceCopiesPixelsOfSetCells)
{
    const int width = 19;
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel) {
        std::vector<std::uint8_t> src(width * bytesPerPixel, 0xAA), dst(width * bytesPerPixel, 0x11);
        PatternCopyRowC(src.data(), dst.data(), width, bytesPerPixel, 0b10000101);
        for (int x = 0; x < width; ++x) {
            const bool on = x % 8 == 0 || x % 8 == 2 || x % 8 == 7;
            for (int b = 0; b < bytesPerPixel; ++b)
                EXPECT_EQ(dst[x * bytesPerPixel + b], on ? 0xAA : 0x11) << bytesPerPixel << " x " << x;
        }
    }
}

TEST(OrderedDither, CellsJoinInTableOrder)
{
    const TilePattern first = OrderedDitherCells(1);
    EXPECT_EQ(first.Count(), 1);
    EXPECT_TRUE(first.Cell(4, 4));
    const TilePattern last = OrderedDitherCells(63);
    EXPECT_EQ(last.Count(), 63);
    EXPECT_FALSE(last.Cell(2, 5));
    EXPECT_EQ(OrderedDitherCells(64).Count(), 64);
    EXPECT_EQ(OrderedDitherCells(0).Count(), 0);
    for (int level = 1; level <= 64; ++level)
        EXPECT_EQ(OrderedDitherCells(level).Count(), level);
}

TEST(BlendImages, MixesWholeBuffersAndKeepsEqualWords)
{
    // 12 pixels fill whole words in every format, so row 2 (equal in both pictures) is equal words only
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16, QImage::Format_RGB555}) {
        QImage o(12, 5, format), n(12, 5, format);
        o.fill(Qt::black);
        n.fill(Qt::white);
        QImage work = o.copy();
        for (int x = 0; x < 12; ++x) {
            n.setPixel(x, 2, qRgb(0, 0, 0));
            work.setPixel(x, 2, qRgb(0, 0, 255));
        }
        BlendImages(ReadView(o), ReadView(n), WritableView(work), 32);
        const bool bytes = format == QImage::Format_RGB32 || format == QImage::Format_RGB888;
        // channels 0 -> max at level 32: 127 of 255; 15 of 31 on 5 bits, read back as 8 bits
        const int half = bytes ? 127 : (15 << 3) | (15 >> 2);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 12; ++x) {
                const QRgb pixel = work.pixel(x, y);
                if (y == 2)
                    EXPECT_EQ(pixel, qRgb(0, 0, 255)) << format;
                else
                    EXPECT_EQ(qRed(pixel), half) << format;
            }
    }
}

TEST(PatternCopyImage, TilesThePatternOverThePicture)
{
    for (QImage::Format format :
         {QImage::Format_Indexed8, QImage::Format_RGB16, QImage::Format_RGB888, QImage::Format_RGB32}) {
        QImage src(21, 19, format), work(21, 19, format);
        if (format == QImage::Format_Indexed8) {
            src.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
            work.setColorTable(src.colorTable());
            src.fill(1);
            work.fill(0);
        } else {
            src.fill(Qt::white);
            work.fill(Qt::black);
        }
        const TilePattern cells = OrderedDitherCells(5);
        PatternCopyImage(ReadView(src), WritableView(work), cells);
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 21; ++x)
                EXPECT_EQ(work.pixel(x, y) == qRgb(255, 255, 255), cells.Cell(x % 8, y % 8))
                    << format << " " << x << "," << y;
    }
}

}  // namespace lumetta
