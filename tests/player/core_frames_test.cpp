// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's entries drawn by the transition core alone (core_pass.cpp, no Qt) give the same
// frames, byte for byte, as the effect classes running in the engine, in every pixel format.
#include "core_pass.h"

#include "common/random.h"
#include "player/core_effect_settings.h"
#include "player/effect_catalogue.h"
#include "transitions/effects/blend_transition.h"
#include "transitions/effects/block_transition.h"
#include "transitions/effects/circle_transition.h"
#include "transitions/effects/drip_transition.h"
#include "transitions/effects/flicker_free_transition.h"
#include "transitions/effects/radial_transition.h"
#include "transitions/effects/wipe_transition.h"
#include "transitions/engine/core_conversions.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/engine/transition_list.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace lumetta::test {
namespace {

// The screen's depth back to the screen's and the clock back to the real one.
struct RunSettingsGuard
{
    ~RunSettingsGuard()
    {
        SetScreenBitsPerPixel(0);
        SetClockSeedSource({});
    }
};

// The engine's pass: every frame as the area shows it, and what it shows at the end.
CorePass RunEnginePass(TTransitionEffect &effect, const QImage &from, const QImage &to)
{
    CorePass pass;
    FrameStepping stepping;
    stepping.passStarted = [&](int, int frameCount) { pass.frameCount = frameCount; };
    stepping.frameShown = [&](int, int frame, const QImage &shown) {
        pass.frames[frame] = VisibleRows(ReadView(shown), from.width(), from.height());
    };
    SetClockSeedSource([] { return 4242u; });
    const HeadlessRun run = RunHeadless(effect, from, to, stepping);
    pass.last = VisibleRows(ReadView(run.final), from.width(), from.height());
    return pass;
}

// The core's pass over the two pictures in the effect's pixel format.
CorePass RunCorePassFor(const TTransitionEffect &effect, const TransitionSettings &settings, const QImage &from,
                        const QImage &to)
{
    // Random styles and orders draw from a generator seeded from the clock: the same seed for both.
    SetClockSeedSource([] { return 4242u; });
    const PixelFormat format = effect.GetPixelFormat() == pfDevice ? ScreenPixelFormat() : effect.GetPixelFormat();
    const QImage oldPicture = AlignedCopy(ConvertToPixelFormat(from, format));
    const QImage newPicture = AlignedCopy(ConvertToPixelFormat(to, format));
    return RunCorePass(settings, ReadView(oldPicture), ReadView(newPicture));
}

}  // namespace

TEST(CoreFrames, CatalogueEntriesDrawTheEngineFramesInEveryFormat)
{
    RunSettingsGuard guard;
    // Odd sizes: rows of every format end in padding, which the comparison leaves out.
    const QImage from = NoisePicture(QSize(61, 37), 11), to = NoisePicture(QSize(61, 37), 12);
    int drawn = 0;
    for (int bits : {8, 15, 16, 24, 32}) {
        ASSERT_TRUE(SetScreenBitsPerPixel(bits));
        TTransitionList catalogue;
        LoadEffectCatalogue(catalogue, false);
        for (int entry = 0; entry < catalogue.Count(); ++entry) {
            TTransitionEffect &effect = *catalogue.Items(entry);
            const std::optional<TransitionSettings> settings = CoreSettingsOf(effect);
            ASSERT_TRUE(settings) << effect.metaObject()->className();
            SCOPED_TRACE(testing::Message()
                         << "entry " << entry << " " << effect.metaObject()->className() << ", " << bits << " bits");
            const CorePass core = RunCorePassFor(effect, *settings, from, to);
            const CorePass engine = RunEnginePass(effect, from, to);
            ASSERT_EQ(core.frameCount, engine.frameCount);
            ASSERT_EQ(core.frames.size(), engine.frames.size());
            for (const auto &[frame, rows] : engine.frames)
                ASSERT_TRUE(core.frames.at(frame) == rows) << "frame " << frame;
            ASSERT_TRUE(core.last == engine.last);
            ++drawn;
        }
    }
    EXPECT_EQ(drawn, 5 * 22);
}

// Banded wipes in each straight direction, and the band's mask offsets drawn frame by frame
// from the shared generator, as the engine draws them.
TEST(CoreFrames, BandedWipesMatchInEveryStraightDirection)
{
    RunSettingsGuard guard;
    const QImage from = NoisePicture(QSize(45, 30), 21), to = NoisePicture(QSize(45, 30), 22);
    const struct
    {
        TTransitionEffect::EffectDirection direction;
        int frames;
    } cases[] = {{TTransitionEffect::tedRight, 45 + 9},
                 {TTransitionEffect::tedLeft, 45 + 9},
                 {TTransitionEffect::tedDown, 30 + 9},
                 {TTransitionEffect::tedUp, 30 + 9}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction);
        TWipeTransition wipe;
        wipe.SetDirection(c.direction);
        wipe.SetBandWidth(9);
        const std::optional<TransitionSettings> settings = CoreSettingsOf(wipe);
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->bandWidth, 9);
        const CorePass core = RunCorePassFor(wipe, *settings, from, to);
        const CorePass engine = RunEnginePass(wipe, from, to);
        EXPECT_EQ(core.frameCount, c.frames);
        EXPECT_EQ(engine.frameCount, c.frames);
        EXPECT_TRUE(core.frames == engine.frames);
        EXPECT_TRUE(core.last == engine.last);
    }
}

// Every style of the shapes, random ones included, forwards and reversed, at the screen's depth.
TEST(CoreFrames, ShapesMatchInEveryStyleForwardsAndReversed)
{
    RunSettingsGuard guard;
    const QImage from = NoisePicture(QSize(70, 41), 31), to = NoisePicture(QSize(70, 41), 32);
    TBlockTransition blocks, puzzle;
    blocks.SetCols(9);
    blocks.SetRows(5);
    puzzle.SetCols(4);
    puzzle.SetRows(3);
    puzzle.SetPuzzle(true);
    TCircleTransition circle;
    TRadialTransition radial;
    int passes = 0;
    for (TMaskedTransition *effect : std::initializer_list<TMaskedTransition *>{&blocks, &puzzle, &circle, &radial}) {
        for (int style = 0; style <= effect->StyleCount(); ++style) {
            effect->SetStyle(style);
            const int subStyles = style == 0 ? 0 : effect->SubStyleCount(style);
            for (int subStyle = 0; subStyle <= subStyles; ++subStyle) {
                for (bool reversed : {false, true}) {
                    SCOPED_TRACE(testing::Message() << effect->metaObject()->className() << " style " << style
                                                    << " sub-style " << subStyle << " reversed " << reversed);
                    effect->SetSubStyle(subStyle);
                    effect->SetReversed(reversed);
                    const std::optional<TransitionSettings> settings = CoreSettingsOf(*effect);
                    ASSERT_TRUE(settings);
                    const CorePass core = RunCorePassFor(*effect, *settings, from, to);
                    const CorePass engine = RunEnginePass(*effect, from, to);
                    ASSERT_EQ(core.frameCount, engine.frameCount);
                    ASSERT_TRUE(core.frames == engine.frames);
                    ASSERT_TRUE(core.last == engine.last);
                    ++passes;
                }
            }
        }
    }
    EXPECT_GT(passes, 100);
}

}  // namespace lumetta::test
