// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/radial_geometry.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/effects/radial_transition.h"
#include "transitions/engine/form_reader.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"

#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lumetta {

namespace {

QImage Solid(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

constexpr QRgb kOld = 0xFF102030, kNew = 0xFFE0D0C0;

struct PassRecord
{
    int frameCount = -1;
    std::vector<std::pair<int, QImage>> frames;  // frame number, what the area showed
    QImage final;
};

// Keeps the frames up to lastKept.
PassRecord RunPass(TRadialTransition &effect, int w, int h, int step, int lastKept = 1 << 30)
{
    PassRecord result;
    FrameStepping stepping;
    stepping.step = step;
    stepping.frameShown = [&](int, int frame, const QImage &shown) {
        if (frame <= lastKept)
            result.frames.push_back({frame, shown.copy()});
    };
    const HeadlessRun headless = RunHeadless(effect, Solid(w, h, kOld), Solid(w, h, kNew), stepping);
    result.frameCount = headless.frameCount;
    result.final = headless.final;
    return result;
}

}  // namespace

TEST(RadialTransition, Description)
{
    TRadialTransition effect;
    EXPECT_EQ(effect.GetDescription(), "Radial");
    EXPECT_EQ(effect.GetEditorName(), "TMaskedTransitionEditor");
    EXPECT_EQ(effect.StyleCount(), 7);
    EXPECT_TRUE(effect.ClearsMaskEachFrame());
    EXPECT_FALSE(effect.UsesDeltaMask());
    std::unique_ptr<TTransitionEffect> created(CreateTransitionEffect("TRadialTransition"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetDescription(), "Radial");
}

TEST(RadialTransition, FormDescriptionsSetThePublishedProperties)
{
    TTransitionList list;
    ReadTransitionList(QStringLiteral("object Trans: TTransitionList\n"
                                      "  object Clockwise: TRadialTransition\n"
                                      "    Milliseconds = 1700\n"
                                      "  end\n"
                                      "  object ClockNew: TRadialTransition\n"
                                      "    Milliseconds = 1700\n"
                                      "    Style = 6\n"
                                      "    SubStyle = 5\n"
                                      "    Reversed = True\n"
                                      "  end\n"
                                      "end\n"),
                       &list);
    ASSERT_EQ(list.Count(), 2);
    auto *first = qobject_cast<TRadialTransition *>(list.Items(0));
    auto *second = qobject_cast<TRadialTransition *>(list.Items(1));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->Milliseconds(), 1700);
    EXPECT_EQ(first->Style(), 1);
    EXPECT_EQ(first->SubStyle(), 1);
    EXPECT_FALSE(first->Reversed());
    EXPECT_EQ(second->Style(), 6);
    EXPECT_EQ(second->SubStyle(), 5);
    EXPECT_TRUE(second->Reversed());
}

TEST(RadialTransition, StylesOutsideTheTableEndTheRunAtOnce)
{
    const struct
    {
        int style, subStyle;
    } cases[] = {{8, 1}, {4, 9}, {5, 17}};
    for (const auto &c : cases) {
        TRadialTransition effect;
        effect.SetStyle(c.style);
        effect.SetSubStyle(c.subStyle);
        const PassRecord r = RunPass(effect, 40, 30, 1);
        EXPECT_EQ(r.frameCount, 0);
        EXPECT_TRUE(r.frames.empty());
        EXPECT_EQ(r.final.pixel(39, 29), kNew);
    }
}

TEST(RadialTransition, FirstFrameIsTheTwelveOClockLine)
{
    TRadialTransition effect;
    effect.SetMilliseconds(0);
    const PassRecord r = RunPass(effect, 640, 480, 1, 1);
    EXPECT_EQ(r.frameCount, 2248);
    ASSERT_GE(r.frames.size(), 1u);
    const QImage &first = r.frames[0].second;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(first.pixel(x, y), (x == 320 && y <= 240) ? kNew : kOld) << x << "," << y;
}

TEST(RadialTransition, QuarterAndHalfTurnsUncoverTheirQuadrants)
{
    // 20 x 14 gives W' = 21, H' = 15, T = 76, centre (10, 7); 19 positions reach three o'clock.
    TRadialTransition effect;
    const PassRecord r = RunPass(effect, 20, 14, 19);
    ASSERT_EQ(r.frameCount, 76);
    ASSERT_EQ(r.frames.size(), 3u);
    const QImage &quarter = r.frames[0].second;
    const QImage &half = r.frames[1].second;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (x >= 11 && y <= 6) {
                EXPECT_EQ(quarter.pixel(x, y), kNew) << x << "," << y;
            }
            if (x <= 9 || y >= 8) {
                EXPECT_EQ(quarter.pixel(x, y), kOld) << x << "," << y;
            }
            if (x >= 11) {
                EXPECT_EQ(half.pixel(x, y), kNew) << x << "," << y;
            }
            if (x <= 9) {
                EXPECT_EQ(half.pixel(x, y), kOld) << x << "," << y;
            }
        }
    }
}

TEST(RadialTransition, WedgesOfSuccessiveFramesLeaveNoGaps)
{
    // 20 x 14: T = 76 and centre (10, 7). Whatever the step, the positions not yet swept at the
    // last drawn frame lie left of twelve o'clock, so everything right of the centre column
    // and below the centre row must show the new picture.
    for (int step : {1, 2, 3, 4, 5, 7}) {
        TRadialTransition effect;
        const PassRecord r = RunPass(effect, 20, 14, step);
        ASSERT_FALSE(r.frames.empty());
        const QImage &last = r.frames.back().second;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 20; ++x) {
                if (x >= 11 || y >= 8) {
                    ASSERT_EQ(last.pixel(x, y), kNew) << "step " << step << " at " << x << "," << y;
                }
            }
    }
}

TEST(RadialTransition, EverySubStyleUncoversMonotonicallyAndEndsWithTheNewPicture)
{
    for (int style = 1; style <= 7; ++style) {
        TRadialTransition effect;
        effect.SetStyle(style);
        for (int sub = 1; sub <= effect.SubStyleCount(style); ++sub) {
            effect.SetSubStyle(sub);
            const PassRecord r = RunPass(effect, 31, 23, 5);
            ASSERT_GT(r.frameCount, 0) << style << "/" << sub;
            ASSERT_FALSE(r.frames.empty());
            QImage previous = Solid(31, 23, kOld);
            int uncovered = 0;
            for (const auto &[frame, shown] : r.frames) {
                for (int y = 0; y < 23; ++y)
                    for (int x = 0; x < 31; ++x)
                        if (previous.pixel(x, y) == kNew) {
                            ASSERT_EQ(shown.pixel(x, y), kNew) << style << "/" << sub << " frame " << frame;
                        }
                previous = shown;
            }
            for (int y = 0; y < 23; ++y)
                for (int x = 0; x < 31; ++x)
                    uncovered += previous.pixel(x, y) == kNew;
            EXPECT_GT(uncovered, 31 * 23 / 2) << style << "/" << sub;
            EXPECT_EQ(r.final, Solid(31, 23, kNew).convertToFormat(r.final.format()));
        }
    }
}

// Every style and sub-style, at sizes down to one pixel, odd and even, unpaced and in steps that
// pass corners: the runs show each frame exactly as the mask does.
TEST(RadialTransition, RunsShowEveryFrameOfEverySweepAsTheMaskDoes)
{
    struct Reference
    {
        ~Reference() { lumetta::SetReferenceKernels(false); }
    } reference;
    const QSize sizes[] = {{1, 1}, {2, 3}, {33, 17}, {64, 20}};
    for (int style = 1; style <= 7; ++style)
        for (int sub = 1; sub <= lumetta::RadialSubStyleCount(style); ++sub)
            for (const QSize size : sizes)
                for (int step : {1, 3, 13}) {
                    std::vector<QImage> frames[2];
                    for (bool viaMask : {true, false}) {
                        lumetta::SetReferenceKernels(viaMask);
                        TRadialTransition effect;
                        effect.SetStyle(style);
                        effect.SetSubStyle(sub);
                        FrameStepping stepping;
                        stepping.step = step;
                        stepping.frameShown = [&](int, int, const QImage &shown) {
                            frames[viaMask].push_back(shown.copy());
                        };
                        RunHeadless(effect, NoisePicture(size, 1), NoisePicture(size, 2), stepping);
                    }
                    ASSERT_EQ(frames[0].size(), frames[1].size());
                    for (std::size_t i = 0; i < frames[0].size(); ++i)
                        ASSERT_EQ(frames[0][i], frames[1][i])
                            << "style " << style << "/" << sub << ", " << size.width() << "x" << size.height()
                            << ", step " << step << ", shown frame " << i;
                }
}

}  // namespace lumetta
