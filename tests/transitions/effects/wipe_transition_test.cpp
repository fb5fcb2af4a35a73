// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/wipe_transition.h"

#include "common/random.h"
#include "transitions/core/shapes/mono_paint.h"
#include "transitions/frame_checks.h"

#include <gtest/gtest.h>

#include <memory>

using namespace lumetta;

using namespace lumetta::test;
using TD = TTransitionEffect::EffectDirection;

namespace {

QImage OldPicture(int w, int h)
{
    return NoiseImage(w, h, QImage::Format_RGB32, 21);
}

// Differs from OldPicture in every pixel and every format.
QImage NewPicture(int w, int h)
{
    QImage image = OldPicture(w, h);
    image.invertPixels();
    return image;
}

// The process generator's rule, written out again.
struct Lcg
{
    std::uint32_t seed;
    std::uint32_t Next(std::uint32_t n)
    {
        seed = seed * 134775813u + 1u;
        return std::uint32_t((std::uint64_t(seed) * n) >> 32);
    }
};

// Pixel (x, y) of the right-band mask of width bw for a picture h rows high, drawn from the rule;
// also returns through seedAfter the seed once the mask is built.
std::vector<std::vector<bool>> RightMask(int bw, int h, std::uint32_t &seedAfter)
{
    Lcg lcg{1642000};
    const int length = h + 75;
    std::vector<std::vector<bool>> mask(std::size_t(bw), std::vector<bool>(std::size_t(length), false));
    for (int c = 0; c < bw; ++c) {
        const int t = std::max(100 - c * 100 / bw, 1);
        for (int i = 0; i <= length; ++i) {
            const bool set = t >= int(lcg.Next(100));
            if (i < length)
                mask[std::size_t(c)][std::size_t(i)] = set;
        }
    }
    seedAfter = lcg.seed;
    return mask;
}

std::unique_ptr<TWipeTransition> Wipe(TD direction, int bandWidth, bool reversed = false)
{
    auto wipe = std::make_unique<TWipeTransition>();
    wipe->SetDirection(direction);
    wipe->SetBandWidth(bandWidth);
    wipe->SetReversed(reversed);
    return wipe;
}

}  // namespace

TEST(Wipe, DefaultsAndPublishedProperties)
{
    TWipeTransition wipe;
    EXPECT_EQ(wipe.Direction(), TTransitionEffect::tedRight);
    EXPECT_EQ(wipe.BandWidth(), 50);
    EXPECT_FALSE(wipe.Reversed());
    EXPECT_EQ(wipe.GetDescription(), "Wipe");
    EXPECT_EQ(wipe.GetEditorName(), "TWipeTransitionEditor");
    EXPECT_FALSE(wipe.AllowSrcRendering());
    EXPECT_EQ(wipe.property("BandWidth").toInt(), 50);
    EXPECT_TRUE(wipe.setProperty("Direction", QStringLiteral("tedUpLeft")));
    EXPECT_EQ(wipe.Direction(), TTransitionEffect::tedUpLeft);
    wipe.SetDirection(TTransitionEffect::tedNone);
    EXPECT_EQ(wipe.Direction(), TTransitionEffect::tedUpLeft);
    for (int d = TTransitionEffect::tedRight; d <= TTransitionEffect::tedOut; ++d) {
        wipe.SetDirection(TD(d));
        EXPECT_EQ(wipe.Direction(), TD(d));
    }
    wipe.SetBandWidth(-5);
    wipe.SetDirection(TTransitionEffect::tedRight);
    EXPECT_EQ(wipe.BandWidth(), 0);
}

TEST(Wipe, BandWidthReadsZeroOffTheStraightDirections)
{
    TWipeTransition wipe;
    wipe.SetDirection(TTransitionEffect::tedDownLeft);
    EXPECT_EQ(wipe.BandWidth(), 0);
    EXPECT_FALSE(wipe.NeedSrcImage());
    EXPECT_FALSE(wipe.NeedWorkBitmap());
    wipe.SetDirection(TTransitionEffect::tedDown);
    EXPECT_EQ(wipe.BandWidth(), 50);
    EXPECT_TRUE(wipe.NeedSrcImage());
    EXPECT_TRUE(wipe.NeedWorkBitmap());
    wipe.SetBandWidth(0);
    EXPECT_FALSE(wipe.NeedSrcImage());
}

TEST(Wipe, AssignHandsOverTheBandWidthAsRead)
{
    TWipeTransition source, target;
    source.SetBandWidth(20);
    source.SetMilliseconds(1700);
    source.SetDirection(TTransitionEffect::tedUp);
    target.Assign(&source);
    EXPECT_EQ(target.BandWidth(), 20);
    EXPECT_EQ(target.Direction(), TTransitionEffect::tedUp);
    EXPECT_EQ(target.Milliseconds(), 1700);

    source.SetDirection(TTransitionEffect::tedIn);
    target.Assign(&source);
    target.SetDirection(TTransitionEffect::tedUp);
    EXPECT_EQ(target.BandWidth(), 0);
}

TEST(Wipe, RegisteredByClassName)
{
    std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(QStringLiteral("TWipeTransition")));
    ASSERT_NE(effect, nullptr);
    EXPECT_NE(qobject_cast<TWipeTransition *>(effect.get()), nullptr);
}

TEST(Wipe, FrameCountsForEveryDirection)
{
    const int w = 40, h = 30;
    struct Case
    {
        TD direction;
        int bandWidth;
        bool reversed;
        int frames;
    };
    const Case cases[] = {
        {TTransitionEffect::tedRight, 20, false, 60},
        {TTransitionEffect::tedLeft, 20, false, 60},
        {TTransitionEffect::tedDown, 20, false, 50},
        {TTransitionEffect::tedUp, 20, false, 50},
        {TTransitionEffect::tedRight, 0, false, 40},
        {TTransitionEffect::tedUp, 0, false, 30},
        {TTransitionEffect::tedDownRight, 20, false, 70},
        {TTransitionEffect::tedDownLeft, 20, false, 40},
        {TTransitionEffect::tedUpRight, 0, false, 40},
        {TTransitionEffect::tedUpLeft, 0, false, 40},
        {TTransitionEffect::tedIn, 0, false, 20},
        {TTransitionEffect::tedOut, 0, false, 20},
        // Reversed runs take the opposite direction's count.
        {TTransitionEffect::tedUpLeft, 0, true, 70},
        {TTransitionEffect::tedDown, 10, true, 40},
    };
    for (const Case &c : cases) {
        auto wipe = Wipe(c.direction, c.bandWidth, c.reversed);
        const EffectRun run = RunEffect(*wipe, OldPicture(w, h), NewPicture(w, h));
        EXPECT_EQ(run.frameCount, c.frames) << "direction " << c.direction << " band " << c.bandWidth;
        EXPECT_EQ(run.final, AsShown(NewPicture(w, h), run.final));
    }
}

TEST(Wipe, HardEdgesAndCornersUncoverTheRuledRectangles)
{
    const int w = 40, h = 30;
    // Which pixels show the new picture after frame f of n, from the rules.
    using Pick = std::function<bool(int x, int y, int f, int n)>;
    auto sx = [&](int f, int n) { return RoundHalfEven(double(w) / n * f); };
    auto sy = [&](int f, int n) { return RoundHalfEven(double(h) / n * f); };
    struct Case
    {
        TD direction;
        bool reversed;
        Pick pick;
    };
    const Case cases[] = {
        {TTransitionEffect::tedRight, false, [](int x, int, int f, int) { return x < f; }},
        {TTransitionEffect::tedLeft, false, [&](int x, int, int f, int) { return x >= w - f; }},
        {TTransitionEffect::tedDown, false, [](int, int y, int f, int) { return y < f; }},
        {TTransitionEffect::tedUp, false, [&](int, int y, int f, int) { return y >= h - f; }},
        {TTransitionEffect::tedDownRight, false,
         [&](int x, int y, int f, int n) { return x < sx(f, n) && y < sy(f, n); }},
        {TTransitionEffect::tedDownLeft, false,
         [&](int x, int y, int f, int n) { return x >= w - sx(f, n) && y < sy(f, n); }},
        {TTransitionEffect::tedUpRight, false,
         [&](int x, int y, int f, int n) { return x < sx(f, n) && y >= h - sy(f, n); }},
        {TTransitionEffect::tedUpLeft, false,
         [&](int x, int y, int f, int n) { return x >= w - sx(f, n) && y >= h - sy(f, n); }},
        {TTransitionEffect::tedIn, false,
         [&](int x, int y, int f, int n) {
             const int dx = sx(f, n) / 2, dy = sy(f, n) / 2;
             return !(x >= dx && x < w - dx && y >= dy && y < h - dy);
         }},
        {TTransitionEffect::tedOut, false,
         [&](int x, int y, int f, int n) {
             const int dx = (w - sx(f, n)) / 2, dy = (h - sy(f, n)) / 2;
             return x >= dx && x < w - dx && y >= dy && y < h - dy;
         }},
        // Reversed: left runs as right, in as out.
        {TTransitionEffect::tedLeft, true, [](int x, int, int f, int) { return x < f; }},
        {TTransitionEffect::tedIn, true,
         [&](int x, int y, int f, int n) {
             const int dx = (w - sx(f, n)) / 2, dy = (h - sy(f, n)) / 2;
             return x >= dx && x < w - dx && y >= dy && y < h - dy;
         }},
    };
    for (int step : {1, 3}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "direction " << c.direction << " reversed " << c.reversed << " step " << step);
            auto wipe = Wipe(c.direction, 0, c.reversed);
            std::set<int> keep;
            for (int f = step; f < 80; f += step)
                keep.insert(f);
            const QImage from = OldPicture(w, h), to = NewPicture(w, h);
            const EffectRun run = RunKeeping(*wipe, from, to, keep, step);
            ASSERT_GT(run.frameCount, 1);
            ASSERT_FALSE(run.frames.empty());
            const QImage fromC = AsShown(from, run.final), toC = AsShown(to, run.final);
            for (const auto &[f, shown] : run.frames)
                ASSERT_TRUE(ShowsPicked(shown, fromC, toC,
                                        [&, f = f](int x, int y) { return c.pick(x, y, f, run.frameCount); }))
                    << "frame " << f;
        }
    }
}

TEST(Wipe, FirstBandFrameOnASmallPicture)
{
    // Right wipe, band 4 on 8 x 5: frame 1 puts band columns 2 and 3 (always set; then t = 50)
    // on picture columns 0 and 1, reading the mask from row Random(75) down.
    const int w = 8, h = 5, bw = 4;
    SetRandSeed(777);
    auto wipe = Wipe(TTransitionEffect::tedRight, bw);
    const QImage from = OldPicture(w, h), to = NewPicture(w, h);
    const EffectRun run = RunKeeping(*wipe, from, to, {1});
    ASSERT_EQ(run.frameCount, w + bw);
    std::uint32_t seed = 0;
    const auto mask = RightMask(bw, h, seed);
    Lcg lcg{seed};
    const int offset = int(lcg.Next(75));
    EXPECT_TRUE(ShowsPicked(run.frames.at(1), AsShown(from, run.final), AsShown(to, run.final), [&](int x, int y) {
        const int c = x - (2 - bw);
        return c < bw && mask[std::size_t(c)][std::size_t(y + offset)];
    }));
    // The column mask itself, as the rule draws it.
    for (int c = 0; c < bw; ++c)
        for (int i = 0; i < h + 75; ++i)
            ASSERT_EQ(MonoPixel(wipe->BandMask().View(), c, i), mask[std::size_t(c)][std::size_t(i)]);
}

TEST(Wipe, BandFramesKeepTheUncoveredStripAndTheSeam)
{
    // After frame f of a band wipe of width bw, along the direction of travel p (x for right,
    // H - 1 - y for up): p <= f - bw is new, the band covers f - bw + 1 .. f, beyond is old. Up
    // copies its strip one line short at the trailing side: line f - bw still shows the previous
    // frame's band.
    const int w = 30, h = 26, bw = 5;
    struct Case
    {
        TD direction;
        int length;
        std::function<int(int x, int y)> along;
        int seam;  // lines at f - bw not yet new
    };
    const Case cases[] = {
        {TTransitionEffect::tedRight, w, [](int x, int) { return x; }, 0},
        {TTransitionEffect::tedUp, h, [&](int, int y) { return h - 1 - y; }, 1},
    };
    for (int depth : kScreenDepths) {
        ScreenDepth bits(depth);
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << "depth " << depth << " direction " << c.direction);
            auto wipe = Wipe(c.direction, bw);
            const QImage from = OldPicture(w, h), to = NewPicture(w, h);
            const EffectRun run = RunKeeping(*wipe, from, to, {12, 20}, 4);
            ASSERT_EQ(run.frameCount, c.length + bw);
            const QImage fromC = AsShown(from, run.final), toC = AsShown(to, run.final);
            for (const auto &[f, shown] : run.frames) {
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        const int p = c.along(x, y);
                        const auto v = RawPixel(shown, x, y);
                        // The right band's first line is always set.
                        const bool alwaysNew = p <= f - bw - c.seam || (c.seam == 0 && p == f - bw + 1);
                        if (alwaysNew) {
                            ASSERT_EQ(v, RawPixel(toC, x, y)) << "frame " << f << " at " << x << "," << y;
                        } else if (p > f) {
                            ASSERT_EQ(v, RawPixel(fromC, x, y)) << "frame " << f << " at " << x << "," << y;
                        } else {
                            ASSERT_TRUE(v == RawPixel(toC, x, y) || v == RawPixel(fromC, x, y));
                        }
                    }
                }
            }
            EXPECT_EQ(run.final, toC);
        }
    }
}

TEST(Wipe, MaskSeedsTheGeneratorOnceAndIsReused)
{
    const int w = 16, h = 9, bw = 6;
    SetRandSeed(4242);
    auto wipe = Wipe(TTransitionEffect::tedRight, bw);
    const QImage from = OldPicture(w, h), to = NewPicture(w, h);
    const EffectRun first = RunEffect(*wipe, from, to);
    // One Random(75) per drawn frame, after the mask's draws.
    std::uint32_t seed = 0;
    RightMask(bw, h, seed);
    Lcg lcg{seed};
    for (int f = 1; f < first.frameCount; ++f)
        lcg.Next(75);
    EXPECT_EQ(RandSeed(), lcg.seed);

    // Same size and direction: the mask is kept and the seed runs on.
    const MonoBitmap maskBefore = wipe->BandMask();
    SetRandSeed(5);
    RunEffect(*wipe, from, to);
    Lcg again{5};
    for (int f = 1; f < first.frameCount; ++f)
        again.Next(75);
    EXPECT_EQ(RandSeed(), again.seed);
    EXPECT_EQ(wipe->BandMask(), maskBefore);

    // Reversed: built again for the left wipe.
    wipe->SetReversed(true);
    RunEffect(*wipe, from, to);
    EXPECT_NE(wipe->BandMask(), maskBefore);

    // A run without a band drops the mask.
    wipe->SetBandWidth(0);
    RunEffect(*wipe, from, to);
    EXPECT_TRUE(wipe->BandMask().IsNull());
}

TEST(Wipe, FastAndReferenceKernelsDrawTheSameFrames)
{
    const int w = 37, h = 23;
    for (int depth : kScreenDepths) {
        ScreenDepth bits(depth);
        for (TD d : {TTransitionEffect::tedRight, TTransitionEffect::tedLeft, TTransitionEffect::tedDown,
                     TTransitionEffect::tedUp}) {
            std::map<int, QImage> frames[2];
            for (bool reference : {false, true}) {
                ReferenceSwitch sw(reference);
                SetRandSeed(1);
                auto wipe = Wipe(d, 9);
                std::set<int> keep;
                for (int f = 2; f < 70; f += 2)
                    keep.insert(f);
                frames[reference] = RunKeeping(*wipe, OldPicture(w, h), NewPicture(w, h), keep, 2).frames;
            }
            ASSERT_FALSE(frames[0].empty());
            EXPECT_EQ(frames[0], frames[1]) << "depth " << depth << " direction " << d;
        }
    }
}

TEST(Wipe, InAndOutOnOnePixelHaveNoFrames)
{
    for (TD d : {TTransitionEffect::tedIn, TTransitionEffect::tedOut}) {
        auto wipe = Wipe(d, 0);
        const EffectRun run = RunEffect(*wipe, OldPicture(1, 1), NewPicture(1, 1));
        EXPECT_TRUE(run.aborted);
        EXPECT_EQ(run.frameCount, 0);
        EXPECT_TRUE(run.frames.empty());
    }
}

TEST(Wipe, TwoPassesWithReversedFirstPassRunTheOppositeWayFirst)
{
    const int w = 24, h = 10;
    auto wipe = Wipe(TTransitionEffect::tedRight, 0);
    wipe->SetPassSetting(TTransitionEffect::teTwoPasses);
    wipe->Pass2Options()->SetReversed(true);
    wipe->Pass2Options()->SetSolidColor(0x00FF00);  // green, red in the lowest byte
    const QImage from = OldPicture(w, h), to = NewPicture(w, h);
    const EffectRun run = RunEffect(*wipe, from, to);
    ASSERT_EQ(run.frameCount, w);
    ASSERT_EQ(run.secondPassFrameCount, w);
    const QImage fromC = AsShown(from, run.final), toC = AsShown(to, run.final);
    const QImage midC = AsShown(Plain(w, h, qRgb(0, 255, 0)), run.final);
    for (const auto &[f, shown] : run.frames)  // leftward: the intermediate picture enters from the right
        ASSERT_TRUE(ShowsPicked(shown, fromC, midC, [&, f = f](int x, int) { return x >= w - f; })) << f;
    for (const auto &[f, shown] : run.secondPassFrames)
        ASSERT_TRUE(ShowsPicked(shown, midC, toC, [f = f](int x, int) { return x < f; })) << f;
    EXPECT_EQ(run.final, toC);
}
