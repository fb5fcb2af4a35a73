// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/fuse_transition.h"
#include "transitions/engine/form_reader.h"

#include "common/random.h"
#include "effect_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace lumetta;

using namespace lumetta::test;

namespace {

using CellRule = std::function<bool(int x, int y)>;

int Mod8(int v)
{
    return ((v % 8) + 8) % 8;
}

struct ClockGuard
{
    ~ClockGuard()
    {
        lumetta::SetClockSeedSource({});
        lumetta::SetRandSeed(0);
    }
};

// Cells that show the new picture after frame 3 of each style, from the style rules.
struct StyleCase
{
    int style;
    int frameCount;
    CellRule onAfterFrame3;
};

const StyleCase kStyles[] = {
    {1, 64, [](int x, int y) { return (x == 4 && y == 4) || (x == 0 && y == 0) || (x == 4 && y == 0); }},
    {2, 8, [](int, int y) { return y <= 2; }},
    {3, 8, [](int, int y) { return y >= 5; }},
    {4, 8, [](int x, int) { return x <= 2; }},
    {5, 8, [](int x, int) { return x >= 5; }},
    {6, 8, [](int x, int y) { return x <= 2 && y <= 2; }},
    {7, 8, [](int x, int y) { return std::max(x, y) >= 5; }},
    {8, 64, [](int x, int y) { return (x == 4 && y == 3) || (x == 4 && y == 4) || (x == 3 && y == 4); }},
    {9, 64, [](int x, int y) { return x == 0 && y <= 2; }},
    {10, 8, [](int x, int y) { return Mod8(x - y) >= 1 && Mod8(x - y) <= 3; }},
    {11, 8, [](int x, int y) { return Mod8(x - y) == 0 || Mod8(x - y) >= 6; }},
    {12, 8, [](int x, int y) { return Mod8(x + y) <= 2; }},
    {13, 8, [](int x, int y) { return Mod8(x + y) >= 5; }},
};

void ExpectTiled(const QImage &frame, const CellRule &on, const char *what, int style)
{
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            ASSERT_EQ(frame.pixel(x, y) == white, on(x % 8, y % 8))
                << what << " style " << style << " at " << x << "," << y;
}

}  // namespace

TEST(FuseTransition, EveryStyleAfterThreeFrames)
{
    for (int bits : {8, 16, 24, 32}) {
        ScreenDepth depth(bits);
        for (const StyleCase &c : kStyles) {
            TFuseTransition fuse;
            fuse.SetStyle(c.style);
            const EffectRun run = RunEffect(fuse, Plain(21, 18, qRgb(0, 0, 0)), Plain(21, 18, qRgb(255, 255, 255)));
            EXPECT_EQ(run.frameCount, c.frameCount) << c.style;
            ExpectTiled(run.frames.at(3), c.onAfterFrame3, "frame 3", c.style);
            EXPECT_EQ(run.final.pixel(20, 17), qRgb(255, 255, 255));
        }
    }
}

TEST(FuseTransition, SkippedFramesTurnOnEveryCellTheyPassed)
{
    ScreenDepth depth(32);
    for (const StyleCase &c : kStyles) {
        TFuseTransition fuse;
        fuse.SetStyle(c.style);
        const EffectRun run = RunEffect(fuse, Plain(16, 16, qRgb(0, 0, 0)), Plain(16, 16, qRgb(255, 255, 255)), 3);
        ExpectTiled(run.frames.at(3), c.onAfterFrame3, "step 3", c.style);
    }
}

TEST(FuseTransition, NamedEdgeCases)
{
    ScreenDepth depth(32);
    const QImage black = Plain(16, 16, qRgb(0, 0, 0));
    const QImage white = Plain(16, 16, qRgb(255, 255, 255));
    {
        TFuseTransition fuse;
        fuse.SetStyle(6);
        ExpectTiled(
            RunEffect(fuse, black, white).frames.at(4), [](int x, int y) { return x < 4 && y < 4; }, "square", 6);
    }
    {
        TFuseTransition fuse;
        fuse.SetStyle(20);
        const EffectRun run = RunEffect(fuse, black, white);
        EXPECT_EQ(run.frameCount, 0);
        EXPECT_TRUE(run.aborted);
        EXPECT_TRUE(run.frames.empty());
        EXPECT_EQ(run.final.pixel(3, 3), qRgb(255, 255, 255));
    }
}

TEST(FuseTransition, ReversedRunsThePartnerStyle)
{
    ScreenDepth depth(32);
    const QImage black = Plain(16, 16, qRgb(0, 0, 0));
    const QImage white = Plain(16, 16, qRgb(255, 255, 255));
    for (const StyleCase &c : kStyles) {
        const int partner = c.style == 1 ? 1 : (c.style % 2 == 0 ? c.style + 1 : c.style - 1);
        const StyleCase &expected = kStyles[partner - 1];
        TFuseTransition fuse;
        fuse.SetStyle(c.style);
        fuse.SetReversed(true);
        const EffectRun run = RunEffect(fuse, black, white);
        EXPECT_EQ(run.frameCount, expected.frameCount) << c.style;
        ExpectTiled(run.frames.at(3), expected.onAfterFrame3, "reversed", c.style);
    }
    // style 8 reversed spirals in from cell (0, 0)
    TFuseTransition fuse;
    fuse.SetStyle(8);
    fuse.SetReversed(true);
    ExpectTiled(
        RunEffect(fuse, black, white).frames.at(1), [](int x, int y) { return x == 0 && y == 0; }, "spiral in", 8);
}

TEST(FuseTransition, RandomStyleIsDrawnOncePerRunAfterSeedingFromTheClock)
{
    ClockGuard guard;
    ScreenDepth depth(32);
    lumetta::SetClockSeedSource([] { return 4242u; });
    lumetta::SetRandSeed(4242u);
    const int drawn = lumetta::Random(TFuseTransition::kStyleCount) + 1;
    TFuseTransition fuse;
    fuse.SetStyle(0);
    const EffectRun run = RunEffect(fuse, Plain(16, 16, qRgb(0, 0, 0)), Plain(16, 16, qRgb(255, 255, 255)));
    EXPECT_EQ(run.frameCount, TFuseTransition::FrameCountOf(drawn));
    ExpectTiled(run.frames.at(3), kStyles[drawn - 1].onAfterFrame3, "random", drawn);
}

TEST(FuseTransition, BothPassesOfATwoPassRunShareTheRandomStyle)
{
    ClockGuard guard;
    ScreenDepth depth(32);
    for (std::uint32_t start = 1; start <= 40; ++start) {
        // a clock that moves between the passes
        std::uint32_t clock = start * 7919u;
        lumetta::SetClockSeedSource([&clock] { return clock += 1000003u; });
        TFuseTransition fuse;
        fuse.SetStyle(0);
        fuse.SetPassSetting(TTransitionEffect::teTwoPasses);
        fuse.Pass2Options()->SetSolidColor(0xFF0000);  // blue in the platform layout
        const EffectRun run = RunEffect(fuse, Plain(8, 8, qRgb(0, 0, 0)), Plain(8, 8, qRgb(255, 255, 255)));
        ASSERT_GT(run.frameCount, 0);
        EXPECT_EQ(run.secondPassFrameCount, run.frameCount) << start;
        const QRgb blue = qRgb(0, 0, 255);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(run.frames.at(1).pixel(x, y) == blue,
                          run.secondPassFrames.at(1).pixel(x, y) == qRgb(255, 255, 255))
                    << start << " cell " << x << "," << y;
    }
}

TEST(FuseTransition, TablesAndPartners)
{
    // every order number appears once in the spiral, which starts at (4, 3) and ends at (0, 0)
    std::array<int, 65> seen{};
    for (const auto &row : TFuseTransition::kSpiral)
        for (std::uint8_t n : row)
            ++seen[n];
    for (int n = 1; n <= 64; ++n)
        EXPECT_EQ(seen[n], 1) << n;
    EXPECT_EQ(TFuseTransition::kSpiral[3][4], 1);
    EXPECT_EQ(TFuseTransition::kSpiral[0][0], 64);
    const int partners[][2] = {{1, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}, {10, 11}, {12, 13}, {0, 0}, {14, 14}};
    for (const auto &p : partners) {
        EXPECT_EQ(TFuseTransition::ReversedStyle(p[0]), p[1]);
        EXPECT_EQ(TFuseTransition::ReversedStyle(p[1]), p[0]);
    }
    // every style turns every cell on by its last step
    for (int style = 1; style <= TFuseTransition::kStyleCount; ++style) {
        lumetta::TilePattern pattern;
        const int n = TFuseTransition::FrameCountOf(style);
        for (int k = 1; k <= n; ++k)
            TFuseTransition::TurnOnCells(pattern, style, k, n);
        EXPECT_EQ(pattern.Count(), 64) << style;
    }
}

TEST(FuseTransition, PropertiesAssignAndRegistration)
{
    std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(QStringLiteral("TFuseTransition")));
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->GetDescription(), QStringLiteral("Fuse"));
    EXPECT_EQ(effect->GetEditorName(), QStringLiteral("TFuseTransitionEditor"));
    EXPECT_FALSE(effect->AllowSrcRendering());
    EXPECT_TRUE(effect->NeedWorkBitmap());
    EXPECT_TRUE(effect->WorkOnSrcBitmap());
    EXPECT_EQ(effect->property("Style").toInt(), 1);
    EXPECT_EQ(effect->property("Reversed").toBool(), false);

    TFuseTransition source;
    source.SetStyle(9);
    source.SetMilliseconds(700);
    TFuseTransition copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Style(), 9);
    EXPECT_EQ(copy.Milliseconds(), 700);
}

TEST(FuseTransition, FormDescriptionsNameBothEffects)
{
    TTransitionList list;
    ReadTransitionList(QStringLiteral("object Trans: TTransitionList\n"
                                      "  object SlowAlpha: TBlendTransition\n"
                                      "  end\n"
                                      "  object Sparks: TFuseTransition\n"
                                      "    Style = 9\n"
                                      "    Reversed = True\n"
                                      "    Milliseconds = 500\n"
                                      "  end\n"
                                      "end\n"),
                       &list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->objectName(), QStringLiteral("SlowAlpha"));
    EXPECT_EQ(list.Items(0)->GetDescription(), QStringLiteral("Alpha blend"));
    EXPECT_EQ(list.Items(0)->Milliseconds(), 0);
    auto *fuse = qobject_cast<TFuseTransition *>(list.Items(1));
    ASSERT_TRUE(fuse);
    EXPECT_EQ(fuse->Style(), 9);
    EXPECT_TRUE(fuse->Reversed());
    EXPECT_EQ(fuse->Milliseconds(), 500);
}
