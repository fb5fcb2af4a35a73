// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/random.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/core/shapes/mono_paint.h"
#include "transitions/effects/masked_transition.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/engine/transition_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumetta {

namespace {

// A masked effect whose shape is given by the test.
class TProbeMasked : public TMaskedTransition
{
public:
    using Painter = std::function<void(const PixelView &, int frame, PassData &, bool &)>;

    explicit TProbeMasked(int styleCount = 1) { styleCount_ = styleCount; }

    void Initialize(PassData &data, int &frameCount) override
    {
        TMaskedTransition::Initialize(data, frameCount);
        frameCount = frames;
        stylesSeen.push_back(GetStyleToUse());
        subStylesSeen.push_back(GetSubStyleToUse());
    }
    void DrawMask(const PixelView &mask, int currentFrame, int, int, int, PassData &data, bool &whiteIsNew) override
    {
        maskWidths.push_back(mask.width);
        maskWasEmpty.push_back(
            std::all_of(mask.bits, mask.bits + mask.SizeInBytes(), [](std::uint8_t b) { return b == 0; }));
        if (paint)
            paint(mask, currentFrame, data, whiteIsNew);
    }
    int ReversedSubStyle(int, int subStyle) const override { return subStyle + 100; }
    int SubStyleCount(int style) const override { return style == 0 ? 0 : 4; }
    bool UsesDeltaMask() const override { return delta; }
    bool ClearsMaskEachFrame() const override { return clears; }

    int frames = 4;
    bool delta = false;
    bool clears = false;
    Painter paint;
    std::vector<int> stylesSeen, subStylesSeen, maskWidths;
    std::vector<bool> maskWasEmpty;
};

struct ScreenGuard
{
    ~ScreenGuard()
    {
        SetScreenBitsPerPixel(0);
        lumetta::SetClockSeedSource({});
        lumetta::SetRandSeed(0);
    }
};

// Runs a pass and keeps what the area showed after each frame.
std::vector<QImage> RunPass(TProbeMasked &effect, const QImage &from, const QImage &to)
{
    std::vector<QImage> shown;
    FrameStepping stepping;
    stepping.frameShown = [&](int, int, const QImage &image) { shown.push_back(image.copy()); };
    RunHeadless(effect, from, to, stepping);
    return shown;
}

}  // namespace

TEST(MaskedTransition, BitmapsAndMasksAreRoundedTo32Pixels)
{
    TProbeMasked effect;
    EXPECT_EQ(effect.GetBitmapsWidth(32), 32);
    EXPECT_EQ(effect.GetBitmapsWidth(33), 64);
    EXPECT_EQ(effect.GetBitmapsWidth(64), 64);
    EXPECT_FALSE(effect.AllowSrcRendering());
    EXPECT_TRUE(effect.NeedWorkBitmap());
    EXPECT_TRUE(effect.WorkOnSrcBitmap());
    EXPECT_EQ(effect.GetEditorName(), "TMaskedTransitionEditor");
    effect.frames = 2;
    RunPass(effect, NoisePicture(QSize(33, 3), 1), NoisePicture(QSize(33, 3), 2));
    EXPECT_EQ(effect.maskWidths, std::vector<int>{64});
    effect.maskWidths.clear();
    RunPass(effect, NoisePicture(QSize(32, 3), 1), NoisePicture(QSize(32, 3), 2));
    EXPECT_EQ(effect.maskWidths, std::vector<int>{32});
}

TEST(MaskedTransition, StyleSettersResetTheSubStyle)
{
    struct Step
    {
        enum { Style, SubStyle } what;
        int value, style, subStyle;
    };
    const Step steps[] = {{Step::SubStyle, 3, 1, 3}, {Step::Style, 1, 1, 3}, {Step::Style, 2, 2, 1},
                          {Step::SubStyle, 4, 2, 4}, {Step::Style, 0, 0, 0}, {Step::SubStyle, 2, 0, 2},
                          {Step::Style, 0, 0, 2},    {Step::Style, 3, 3, 1}};
    TProbeMasked effect;
    EXPECT_EQ(effect.Style(), 1);
    EXPECT_EQ(effect.SubStyle(), 1);
    for (const Step &s : steps) {
        if (s.what == Step::Style)
            effect.SetStyle(s.value);
        else
            effect.SetSubStyle(s.value);
        EXPECT_EQ(effect.Style(), s.style) << s.value;
        EXPECT_EQ(effect.SubStyle(), s.subStyle) << s.value;
    }
    TProbeMasked copy;
    copy.Assign(&effect);
    EXPECT_EQ(copy.Style(), 3);
    EXPECT_EQ(copy.SubStyle(), 1);
    effect.SetSubStyle(4);
    copy.Assign(&effect);
    EXPECT_EQ(copy.SubStyle(), 4);
}

TEST(MaskedTransition, RandomStyleIsDrawnOncePerRunAndKeptForBothPasses)
{
    ScreenGuard guard;
    std::uint32_t clock = 1000;
    lumetta::SetClockSeedSource([&] { return clock; });
    TProbeMasked effect(3);
    effect.SetStyle(0);
    effect.SetPassSetting(TTransitionEffect::teTwoPasses);
    std::vector<int> firstPassStyles;
    for (std::uint32_t seed : {1000u, 2000u, 3000u, 4000u, 5000u, 6000u}) {
        clock = seed;
        lumetta::SetRandSeed(seed);
        const int expectedStyle = lumetta::Random(3) + 1;
        const int expectedSub = lumetta::Random(4) + 1;
        effect.stylesSeen.clear();
        effect.subStylesSeen.clear();
        RunPass(effect, NoisePicture(QSize(40, 4), 1), NoisePicture(QSize(40, 4), 2));
        ASSERT_EQ(effect.stylesSeen.size(), 2u);
        EXPECT_EQ(effect.stylesSeen[0], expectedStyle);
        EXPECT_EQ(effect.stylesSeen[1], expectedStyle);
        EXPECT_EQ(effect.subStylesSeen[0], expectedSub);
        EXPECT_EQ(effect.subStylesSeen[1], expectedSub);
        firstPassStyles.push_back(effect.stylesSeen[0]);
    }
    std::sort(firstPassStyles.begin(), firstPassStyles.end());
    EXPECT_GT(std::unique(firstPassStyles.begin(), firstPassStyles.end()) - firstPassStyles.begin(), 1);
}

TEST(MaskedTransition, ReversedRunsUseTheReversedSubStyle)
{
    TProbeMasked effect;
    effect.SetSubStyle(3);
    EXPECT_EQ(effect.GetSubStyleToUse(), 3);
    effect.SetReversed(true);
    EXPECT_EQ(effect.GetSubStyleToUse(), 103);
}

TEST(MaskedTransition, EmptyMaskWithOldPolarityShowsTheNewPicture)
{
    TProbeMasked effect;
    effect.frames = 3;
    const QImage from = NoisePicture(QSize(40, 6), 1), to = NoisePicture(QSize(40, 6), 2);
    const auto shown = RunPass(effect, from, to);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], to);
}

TEST(MaskedTransition, WhitePixelsTakeTheNewPictureInEveryFormat)
{
    ScreenGuard guard;
    for (int bpp : {8, 15, 16, 24, 32}) {
        ASSERT_TRUE(SetScreenBitsPerPixel(bpp));
        TProbeMasked effect;
        effect.frames = 2;
        effect.paint = [](const PixelView &mask, int, PassData &, bool &whiteIsNew) {
            whiteIsNew = true;
            FillMonoEllipse(mask, 3, 1, 30, 9, true);
        };
        const QImage from = NoisePicture(QSize(37, 10), 3), to = NoisePicture(QSize(37, 10), 4);
        const auto shown = RunPass(effect, from, to);
        ASSERT_EQ(shown.size(), 1u);
        const QImage expectedOld = ConvertToPixelFormat(from, ScreenPixelFormat());
        const QImage expectedNew = ConvertToPixelFormat(to, ScreenPixelFormat());
        MonoBitmap ellipse(37, 10);
        FillMonoEllipse(ellipse.View(), 3, 1, 30, 9, true);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 37; ++x) {
                const QImage &expected = MonoPixel(ellipse.View(), x, y) ? expectedNew : expectedOld;
                ASSERT_EQ(shown[0].pixel(x, y), expected.pixel(x, y)) << "bpp " << bpp << " at " << x << "," << y;
            }
    }
}

TEST(MaskedTransition, OnlyTheRowsOfTheUpdateRectangleAreCombined)
{
    TProbeMasked effect;
    effect.frames = 3;
    QImage work;
    effect.paint = [&](const PixelView &mask, int frame, PassData &data, bool &whiteIsNew) {
        whiteIsNew = true;
        if (frame == 1) {
            FillMonoRect(mask, 0, 0, mask.width, mask.height, true);
            effect.updateRect = QRect(-5, 2, 100, 3);  // clipped to the area by the engine
        } else {
            work = data.bitmap->copy();
        }
    };
    const QImage from = NoisePicture(QSize(40, 8), 5), to = NoisePicture(QSize(40, 8), 6);
    RunPass(effect, from, to);
    ASSERT_FALSE(work.isNull());
    for (int y = 0; y < 8; ++y) {
        const QImage &expected = (y >= 2 && y < 5) ? to : from;
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(work.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
}

TEST(MaskedTransition, DeltaMaskKeepsOnlyNewlySetPixels)
{
    TProbeMasked effect;
    effect.delta = true;
    effect.frames = 4;
    std::vector<MonoBitmap> masks, prevMasks;
    effect.paint = [&](const PixelView &mask, int frame, PassData &, bool &whiteIsNew) {
        whiteIsNew = true;
        FillMonoRect(mask, 0, 0, 10 * frame, 2, true);
    };
    FrameStepping stepping;
    stepping.frameShown = [&](int, int, const QImage &) {
        masks.push_back(*effect.Mask());
        prevMasks.push_back(*effect.PrevMask());
    };
    QImage canvas;
    effect.ExecuteOnImages(NoisePicture(QSize(40, 2), 1), NoisePicture(QSize(40, 2), 2), canvas, &stepping);
    ASSERT_EQ(masks.size(), 3u);
    for (int frame = 1; frame <= 3; ++frame) {
        for (int x = 0; x < 64; ++x) {
            EXPECT_EQ(MonoPixel(masks[frame - 1].View(), x, 0), x >= 10 * (frame - 1) && x < 10 * frame)
                << frame << " " << x;
            EXPECT_EQ(MonoPixel(prevMasks[frame - 1].View(), x, 1), x < 10 * frame) << frame << " " << x;
        }
    }
    EXPECT_EQ(effect.Mask(), nullptr);
}

TEST(MaskedTransition, MaskIsClearedEachFrameOnlyWhenAsked)
{
    for (bool clears : {false, true}) {
        TProbeMasked effect;
        effect.clears = clears;
        effect.paint = [](const PixelView &mask, int, PassData &, bool &whiteIsNew) {
            whiteIsNew = true;
            MaskLine(mask, {0, 0}, {5, 0});
        };
        RunPass(effect, NoisePicture(QSize(40, 2), 1), NoisePicture(QSize(40, 2), 2));
        ASSERT_EQ(effect.maskWasEmpty.size(), 3u);
        EXPECT_TRUE(effect.maskWasEmpty[0]);
        EXPECT_EQ(effect.maskWasEmpty[1], clears);
        EXPECT_EQ(effect.maskWasEmpty[2], clears);
    }
}

// Shapes drawn as runs straight from the new picture show exactly the frames of the mask path:
// every style of the circle and of the radial sweeps, steps of one and more, every pixel format,
// widths that are and are not a multiple of 32.
TEST(MaskedTransition, RunsShowTheSameFramesAsTheMask)
{
    ScreenGuard guard;
    struct Reference
    {
        ~Reference() { SetReferenceKernels(false); }
    } reference;
    struct Shape
    {
        const char *className;
        int style, subStyle;
    };
    const Shape shapes[] = {
        {"TCircleTransition", 1, 1}, {"TCircleTransition", 1, 2}, {"TCircleTransition", 2, 3},
        {"TCircleTransition", 2, 6}, {"TCircleTransition", 3, 2}, {"TCircleTransition", 3, 8},
        {"TCircleTransition", 1, 5}, {"TRadialTransition", 1, 1}, {"TRadialTransition", 2, 5},
        {"TRadialTransition", 3, 8}, {"TRadialTransition", 4, 3}, {"TRadialTransition", 5, 14},
        {"TRadialTransition", 6, 2}, {"TRadialTransition", 7, 9},
    };
    const QSize sizes[] = {{45, 29}, {64, 20}};
    for (int bpp : {32, 24, 16, 8}) {
        ASSERT_TRUE(SetScreenBitsPerPixel(bpp));
        for (const Shape &shape : shapes)
            for (const QSize size : sizes)
                for (int step : {1, 4, 13}) {
                    std::vector<QImage> frames[2];
                    for (bool viaMask : {true, false}) {
                        SetReferenceKernels(viaMask);
                        std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(shape.className));
                        ASSERT_TRUE(effect);
                        effect->setProperty("Style", shape.style);
                        effect->setProperty("SubStyle", shape.subStyle);
                        FrameStepping stepping;
                        stepping.step = step;
                        stepping.frameShown = [&](int, int, const QImage &shown) {
                            frames[viaMask].push_back(shown.copy());
                        };
                        RunHeadless(*effect, NoisePicture(size, 1), NoisePicture(size, 2), stepping);
                    }
                    ASSERT_FALSE(frames[0].empty());
                    ASSERT_EQ(frames[0].size(), frames[1].size());
                    for (std::size_t i = 0; i < frames[0].size(); ++i)
                        ASSERT_EQ(frames[0][i], frames[1][i])
                            << shape.className << " " << shape.style << "/" << shape.subStyle << " " << bpp << " bits, "
                            << size.width() << "x" << size.height() << ", step " << step << ", shown frame " << i;
                }
    }
}

}  // namespace lumetta
