// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"

#include "effect_run.h"

#include <gtest/gtest.h>

#include <memory>

using namespace lumetta;

using namespace lumetta::test;

namespace {

// Left half goes from black to white, right half from white to black.
QImage Halves(QRgb left, QRgb right)
{
    QImage image(16, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, x < 8 ? left : right);
    return image;
}

std::uint16_t Raw16(const QImage &image, int x, int y)
{
    return reinterpret_cast<const std::uint16_t *>(image.constScanLine(y))[x];
}

}  // namespace

TEST(BlendTransition, TrueColourFramesMixAtTheFrameLevel)
{
    struct Case
    {
        int frame;
        int blackToWhite;  // channel value of a pixel going 0 -> 255
        int whiteToBlack;  // and of one going 255 -> 0
    };
    const Case cases[] = {{1, 3, 252}, {10, 38, 217}, {16, 63, 192}, {32, 127, 127}, {40, 158, 97}, {63, 252, 3}};
    const QImage from = Halves(qRgb(0, 0, 0), qRgb(255, 255, 255));
    const QImage to = Halves(qRgb(255, 255, 255), qRgb(0, 0, 0));
    for (int bits : {24, 32}) {
        ScreenDepth depth(bits);
        TBlendTransition blend;
        const EffectRun run = RunEffect(blend, from, to);
        EXPECT_EQ(run.frameCount, 64) << bits;
        for (const Case &c : cases) {
            const QImage &frame = run.frames.at(c.frame);
            EXPECT_EQ(frame.pixel(2, 3), qRgb(c.blackToWhite, c.blackToWhite, c.blackToWhite))
                << bits << " frame " << c.frame;
            EXPECT_EQ(frame.pixel(12, 1), qRgb(c.whiteToBlack, c.whiteToBlack, c.whiteToBlack))
                << bits << " frame " << c.frame;
        }
        EXPECT_EQ(run.final.convertToFormat(QImage::Format_RGB32), to) << bits;
    }
}

TEST(BlendTransition, TopByteStaysOpaqueOn32Bits)
{
    ScreenDepth depth(32);
    TBlendTransition blend;
    const EffectRun run = RunEffect(blend, Plain(9, 3, qRgb(0, 0, 0)), Plain(9, 3, qRgb(0, 0, 255)));
    for (const auto &[number, frame] : run.frames)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(reinterpret_cast<const QRgb *>(frame.constScanLine(1))[x] >> 24, 0xFFu) << number;
}

TEST(BlendTransition, SkippedFramesLeaveNoTrace)
{
    ScreenDepth depth(32);
    TBlendTransition blend;
    const EffectRun run = RunEffect(blend, Plain(8, 2, qRgb(0, 0, 0)), Plain(8, 2, qRgb(255, 255, 255)), 5);
    EXPECT_EQ(run.frames.size(), 12u);  // 5, 10, ..., 60
    EXPECT_EQ(qRed(run.frames.at(10).pixel(0, 0)), 38);
    EXPECT_EQ(qRed(run.frames.at(60).pixel(0, 0)), 240);  // row 4 mirrored: N + O>>4 - N>>4 = 255 - 15
}

TEST(BlendTransition, HighColourRunsSixteenFramesAtFourTimesTheFrame)
{
    // 16 bits: frame 8 is level 32, red 31 -> 0 gives 16; frame 4 is level 16, green 0 -> 63 gives 15.
    // 15 bits: frame 7 is level 28, whose own form gives red 31 -> 0 as 17.
    struct Case
    {
        int bits;
        int frame;
        QRgb from, to;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {16, 8, qRgb(255, 0, 0), qRgb(0, 0, 0), 16 << 11}, {16, 4, qRgb(0, 0, 0), qRgb(0, 255, 0), 15 << 5},
        {15, 8, qRgb(255, 0, 0), qRgb(0, 0, 0), 16 << 10}, {15, 7, qRgb(255, 0, 0), qRgb(0, 0, 0), 17 << 10},
        {15, 9, qRgb(255, 0, 0), qRgb(0, 0, 0), 14 << 10},
    };
    for (const Case &c : cases) {
        ScreenDepth depth(c.bits);
        TBlendTransition blend;
        const EffectRun run = RunEffect(blend, Plain(6, 3, c.from), Plain(6, 3, c.to));
        EXPECT_EQ(run.frameCount, 16) << c.bits;
        EXPECT_EQ(run.frames.size(), 15u) << c.bits;
        EXPECT_EQ(Raw16(run.frames.at(c.frame), 5, 2), c.expected) << c.bits << " frame " << c.frame;
    }
}

TEST(BlendTransition, PaletteScreensDissolveThroughTheOrderedPattern)
{
    ScreenDepth depth(8);
    TBlendTransition blend;
    EXPECT_TRUE(blend.WorkOnSrcBitmap());
    const EffectRun run = RunEffect(blend, Plain(20, 19, qRgb(0, 0, 0)), Plain(20, 19, qRgb(255, 255, 255)));
    EXPECT_EQ(run.frameCount, 64);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(run.frames.at(1).pixel(x, y) == white, x % 8 == 4 && y % 8 == 4) << x << "," << y;
            EXPECT_EQ(run.frames.at(63).pixel(x, y) == white, !(x % 8 == 2 && y % 8 == 5)) << x << "," << y;
        }
}

TEST(BlendTransition, PaletteDissolveWithSkippedFramesHasAllEarlierCells)
{
    ScreenDepth depth(8);
    TBlendTransition blend;
    const EffectRun run = RunEffect(blend, Plain(16, 16, qRgb(0, 0, 0)), Plain(16, 16, qRgb(255, 255, 255)), 7);
    const lumetta::TilePattern cells = lumetta::OrderedDitherCells(14);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(run.frames.at(14).pixel(x, y) == qRgb(255, 255, 255), cells.Cell(x, y)) << x << "," << y;
}

TEST(BlendTransition, DescriptionFlagsAndRegistration)
{
    std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(QStringLiteral("TBlendTransition")));
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->GetDescription(), QStringLiteral("Alpha blend"));
    EXPECT_FALSE(effect->AllowSrcRendering());
    EXPECT_TRUE(effect->NeedWorkBitmap());
    EXPECT_EQ(effect->property("Milliseconds").toInt(), 0);
    EXPECT_EQ(effect->allowedDirections, std::bitset<16>(1u << TTransitionEffect::tedNone));
    ScreenDepth depth(32);
    EXPECT_FALSE(effect->WorkOnSrcBitmap());
}
