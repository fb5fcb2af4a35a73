// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/drip_transition.h"

#include "transitions/frame_checks.h"

#include <gtest/gtest.h>

#include <memory>

using namespace lumetta;

using namespace lumetta::test;
using TD = TTransitionEffect::EffectDirection;

namespace {

std::unique_ptr<TDripTransition> Drip(TD direction, bool reversed = false)
{
    auto drip = std::make_unique<TDripTransition>();
    drip->SetDirection(direction);
    drip->SetReversed(reversed);
    return drip;
}

}  // namespace

TEST(Drip, DefaultsAndAllowedDirections)
{
    TDripTransition drip;
    EXPECT_EQ(drip.Direction(), TTransitionEffect::tedLeft);
    EXPECT_EQ(drip.GetDescription(), "Drip");
    EXPECT_FALSE(drip.NeedSrcImage());
    EXPECT_FALSE(drip.FirstPassAnimated());
    EXPECT_FALSE(drip.NeedWorkBitmap());
    for (TD refused : {TTransitionEffect::tedDownRight, TTransitionEffect::tedIn, TTransitionEffect::tedNone}) {
        drip.SetDirection(refused);
        EXPECT_EQ(drip.Direction(), TTransitionEffect::tedLeft);
    }
    EXPECT_TRUE(drip.setProperty("Direction", QStringLiteral("tedDown")));
    EXPECT_EQ(drip.Direction(), TTransitionEffect::tedDown);
    EXPECT_TRUE(drip.NeedWorkBitmap());
    drip.SetDirection(TTransitionEffect::tedUp);
    EXPECT_TRUE(drip.NeedWorkBitmap());
    drip.SetReversed(true);  // runs down
    EXPECT_TRUE(drip.NeedWorkBitmap());

    std::unique_ptr<TTransitionEffect> made(CreateTransitionEffect(QStringLiteral("TDripTransition")));
    ASSERT_NE(made, nullptr);
    EXPECT_NE(qobject_cast<TDripTransition *>(made.get()), nullptr);
}

TEST(Drip, LeftSmearsColumnNineAfterTenFrames)
{
    const QImage from = NoiseImage(640, 480, QImage::Format_RGB32, 31);
    const QImage to = NoiseImage(640, 480, QImage::Format_RGB32, 32);
    auto drip = Drip(TTransitionEffect::tedLeft);
    const EffectRun run = RunKeeping(*drip, from, to, {10});
    EXPECT_EQ(run.frameCount, 640);
    const QImage toC = AsShown(to, run.final);
    EXPECT_TRUE(ShowsNewAt(run.frames.at(10), toC, [](int x, int y) { return QPoint(std::min(x, 9), y); }));
    EXPECT_EQ(run.final, toC);
}

TEST(Drip, EveryDirectionSettlesAndSmearsByTheRules)
{
    const int w = 21, h = 13;
    struct Case
    {
        TD direction;
        bool reversed;
        int frames;
        // New-picture pixel shown at (x, y) after frame f drawn with steps of s.
        std::function<QPoint(int x, int y, int f, int s)> source;
    };
    const Case cases[] = {
        {TTransitionEffect::tedLeft, false, w, [](int x, int y, int f, int s) { return QPoint(x < f ? x : f - s, y); }},
        {TTransitionEffect::tedRight, false, w,
         [&](int x, int y, int f, int) { return QPoint(std::max(x, w - f), y); }},
        {TTransitionEffect::tedDown, false, h, [&](int x, int y, int f, int) { return QPoint(x, std::max(y, h - f)); }},
        {TTransitionEffect::tedUp, false, h, [](int x, int y, int f, int s) { return QPoint(x, y < f ? y : f - s); }},
        {TTransitionEffect::tedLeft, true, w, [&](int x, int y, int f, int) { return QPoint(std::max(x, w - f), y); }},
        {TTransitionEffect::tedDown, true, h, [](int x, int y, int f, int s) { return QPoint(x, y < f ? y : f - s); }},
    };
    for (int depth : kScreenDepths) {
        ScreenDepth bits(depth);
        for (int step : {1, 4}) {
            for (const Case &c : cases) {
                SCOPED_TRACE(testing::Message() << "depth " << depth << " direction " << c.direction << " reversed "
                                                << c.reversed << " step " << step);
                auto drip = Drip(c.direction, c.reversed);
                std::set<int> keep;
                for (int f = step; f < c.frames; f += step)
                    keep.insert(f);
                const QImage from = NoiseImage(w, h, QImage::Format_RGB32, 41);
                const QImage to = NoiseImage(w, h, QImage::Format_RGB32, 42);
                const EffectRun run = RunKeeping(*drip, from, to, keep, step);
                ASSERT_EQ(run.frameCount, c.frames);
                const QImage toC = AsShown(to, run.final);
                ASSERT_EQ(run.frames.size(), keep.size());
                for (const auto &[f, shown] : run.frames)
                    ASSERT_TRUE(ShowsNewAt(shown, toC, [&, f = f](int x, int y) { return c.source(x, y, f, step); }))
                        << "frame " << f;
                EXPECT_EQ(run.final, toC);
            }
        }
    }
}

TEST(Drip, DownFirstFrameRepeatsTheBottomRow)
{
    const int w = 9, h = 7;
    auto drip = Drip(TTransitionEffect::tedDown);
    const QImage to = NoiseImage(w, h, QImage::Format_RGB32, 52);
    const EffectRun run = RunKeeping(*drip, NoiseImage(w, h, QImage::Format_RGB32, 51), to, {1});
    EXPECT_TRUE(ShowsNewAt(run.frames.at(1), AsShown(to, run.final), [&](int x, int) { return QPoint(x, h - 1); }));
}

TEST(Drip, NoWidthMeansNoFrames)
{
    auto drip = Drip(TTransitionEffect::tedLeft);
    const QImage empty(0, 5, QImage::Format_RGB32);
    const EffectRun run = RunEffect(*drip, empty, empty);
    EXPECT_TRUE(run.aborted);
    EXPECT_TRUE(run.frames.empty());
}

TEST(Drip, TwoPassesShowTheIntermediatePictureAtOnce)
{
    const int w = 12, h = 8;
    auto drip = Drip(TTransitionEffect::tedUp);
    drip->SetPassSetting(TTransitionEffect::teTwoPasses);
    drip->Pass2Options()->SetSolidColor(0x0000FF);  // red
    const QImage to = NoiseImage(w, h, QImage::Format_RGB32, 62);
    const EffectRun run = RunEffect(*drip, NoiseImage(w, h, QImage::Format_RGB32, 61), to);
    EXPECT_TRUE(run.frames.empty());
    EXPECT_EQ(run.secondPassFrameCount, h);
    ASSERT_EQ(run.secondPassFrames.size(), std::size_t(h - 1));
    const QImage toC = AsShown(to, run.final);
    // Frame 1 of the second pass: row 0 settled, every row below repeats it.
    EXPECT_TRUE(ShowsNewAt(run.secondPassFrames.at(1), toC, [](int x, int) { return QPoint(x, 0); }));
    EXPECT_EQ(run.final, toC);
}
