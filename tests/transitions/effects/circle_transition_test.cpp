// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixel_helpers.h"

#include "transitions/effects/circle_transition.h"
#include "transitions/engine/bitmap.h"
#include "transitions/engine/headless_run.h"

#include <gtest/gtest.h>

#include <map>

namespace lumetta {

namespace {

QImage Picture(int w, int h, std::uint32_t seed)
{
    return lumetta::test::NoiseImage(w, h, QImage::Format_RGB32, seed).convertToFormat(QImage::Format_RGB32);
}

struct CircleRun
{
    int frameCount = -1;
    std::map<int, QImage> frames;
    QImage final;
};

CircleRun RunPass(TCircleTransition &effect, const QImage &from, const QImage &to, int step)
{
    CircleRun r;
    FrameStepping stepping;
    stepping.step = step;
    stepping.frameShown = [&](int, int frame, const QImage &shown) { r.frames[frame] = shown.copy(); };
    const HeadlessRun headless = RunHeadless(effect, from, to, stepping);
    r.frameCount = headless.frameCount;
    r.final = headless.final;
    return r;
}

// A pixel lies in the disc of radius r about (cx, cy) when its centre does.
bool InDisc(int x, int y, int cx, int cy, int r)
{
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= double(r) * r;
}

QImage Expected(const QImage &from, const QImage &to, int cx, int cy, int r, bool insideIsNew)
{
    QImage out = from.copy();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (InDisc(x, y, cx, cy, r) == insideIsNew)
                out.setPixel(x, y, to.pixel(x, y));
    return out;
}

}  // namespace

TEST(CircleTransition, DefaultsAndNames)
{
    TCircleTransition circle;
    EXPECT_EQ(circle.Style(), 1);
    EXPECT_EQ(circle.SubStyle(), 1);
    EXPECT_FALSE(circle.Reversed());
    EXPECT_TRUE(circle.UsesDeltaMask());
    EXPECT_EQ(circle.GetDescription(), "Circle");
    EXPECT_EQ(circle.GetEditorName(), "TMaskedTransitionEditor");
    EXPECT_EQ(circle.SubStyleCount(1), 2);
    EXPECT_EQ(circle.ReversedSubStyle(3, 2), 6);
}

TEST(CircleTransition, FrameCountsOf800x600)
{
    const QImage from = Picture(800, 600, 1), to = Picture(800, 600, 2);
    struct Case
    {
        int style, frames;
    } cases[] = {{1, 500}, {2, 1000}, {3, 854}};
    for (const Case &c : cases) {
        TCircleTransition circle;
        circle.SetStyle(c.style);
        EXPECT_EQ(RunPass(circle, from, to, 100000).frameCount, c.frames) << c.style;
    }
}

TEST(CircleTransition, GrowingAndShrinkingDiscs)
{
    const QImage from = Picture(61, 41, 3), to = Picture(61, 41, 4);
    struct Case
    {
        int style, sub;
        bool reversed;
        int cx, cy;
        bool grows;
    } cases[] = {
        {1, 1, false, 30, 20, true}, {1, 2, false, 30, 20, false}, {1, 1, true, 30, 20, false},
        {2, 2, false, 61, 41, true}, {2, 7, false, 0, 41, false},  {3, 4, false, 30, 41, true},
        {3, 5, true, 0, 20, true},
    };
    for (const Case &c : cases)
        for (int step : {1, 3}) {
            TCircleTransition circle;
            circle.SetStyle(c.style);
            circle.SetSubStyle(c.sub);
            circle.SetReversed(c.reversed);
            const CircleRun r = RunPass(circle, from, to, step);
            ASSERT_GT(r.frameCount, 1);
            ASSERT_FALSE(r.frames.empty());
            for (const auto &[f, shown] : r.frames) {
                const int radius = c.grows ? f : r.frameCount - f + 1;
                ASSERT_EQ(shown, Expected(from, to, c.cx, c.cy, radius, c.grows))
                    << c.style << "/" << c.sub << " step " << step << " frame " << f;
            }
            EXPECT_EQ(r.final, to);
        }
}

TEST(CircleTransition, StylesOutsideTheTableHaveNoFramesOrDrawNothing)
{
    const QImage from = Picture(40, 30, 5), to = Picture(40, 30, 6);
    TCircleTransition noStyle;
    noStyle.SetStyle(4);
    const CircleRun none = RunPass(noStyle, from, to, 1);
    EXPECT_EQ(none.frameCount, 0);
    EXPECT_TRUE(none.frames.empty());
    EXPECT_EQ(none.final, to);

    TCircleTransition idle;
    idle.SetSubStyle(3);
    const CircleRun quiet = RunPass(idle, from, to, 1);
    EXPECT_EQ(quiet.frameCount, 25);  // [sqrt(15^2 + 20^2)]
    for (const auto &[f, shown] : quiet.frames)
        EXPECT_EQ(shown, from) << f;
    EXPECT_EQ(quiet.final, to);
}

TEST(CircleTransition, EveryScreenDepth)
{
    const QImage from = Picture(45, 33, 7), to = Picture(45, 33, 8);
    for (int bits : {8, 15, 16, 24, 32}) {
        ASSERT_TRUE(SetScreenBitsPerPixel(bits));
        const PixelFormat format = ScreenPixelFormat();
        const QImage oldPic = ConvertToPixelFormat(from, format), newPic = ConvertToPixelFormat(to, format);
        for (int sub : {1, 2}) {
            TCircleTransition circle;
            circle.SetSubStyle(sub);
            const CircleRun r = RunPass(circle, from, to, 2);
            ASSERT_EQ(r.frameCount, 27);  // [sqrt(16^2 + 22^2)]
            for (const auto &[f, shown] : r.frames) {
                const int radius = sub == 1 ? f : r.frameCount - f + 1;
                for (int y = 0; y < 33; ++y)
                    for (int x = 0; x < 45; ++x)
                        ASSERT_EQ(
                            lumetta::test::RawPixel(shown, x, y),
                            lumetta::test::RawPixel(InDisc(x, y, 22, 16, radius) == (sub == 1) ? newPic : oldPic, x, y))
                            << bits << " bits, sub-style " << sub << ", frame " << f << " at " << x << "," << y;
            }
        }
    }
    SetScreenBitsPerPixel(0);
}

}  // namespace lumetta
