// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_effects.h"

#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <QRegion>

namespace lumetta {

namespace {

QImage Solid(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

const QImage kOld = Solid(8, 4, 0xFF0000FF);
const QImage kNew = Solid(8, 4, 0xFFFF0000);

TEST(TimedTransition, UnpacedPassDrawsEveryFrameAndEndsWithNewPicture)
{
    TRecordingTransition effect;
    effect.SetFrames(5);
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas);
    ASSERT_EQ(effect.calls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(effect.calls[size_t(i)].current, i + 1);
        EXPECT_EQ(effect.calls[size_t(i)].step, 1);
        EXPECT_EQ(effect.calls[size_t(i)].prev, i);
        EXPECT_EQ(effect.calls[size_t(i)].frameCount, 5);
    }
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(7, 3), 0xFFFF0000u);
    EXPECT_EQ((std::vector<std::string>{"Initialize", "Finalize"}), effect.log);
    EXPECT_EQ(effect.workBitmap, nullptr);
}

TEST(TimedTransition, DisabledHeadlessRunShowsTheNewPictureAtOnce)
{
    for (bool flickerFree : {false, true}) {
        TRecordingTransition effect;
        effect.SetEnabled(false);
        effect.SetFlickerFreeWhenDisabled(flickerFree);
        QImage canvas;
        effect.ExecuteOnImages(kOld, kNew, canvas);
        EXPECT_TRUE(effect.log.empty());
        EXPECT_EQ(canvas.pixel(5, 1), 0xFFFF0000u);
    }
}

TEST(TimedTransition, OneFrameShowsTheNewPictureWithoutDrawing)
{
    for (int milliseconds : {0, 500}) {
        SimulatedClock clock;
        TRecordingTransition effect;
        effect.SetFrames(1);
        effect.SetMilliseconds(milliseconds);
        QImage canvas;
        effect.ExecuteOnImages(kOld, kNew, canvas);
        EXPECT_TRUE(effect.calls.empty());
        EXPECT_EQ(canvas.pixel(3, 2), 0xFFFF0000u);
    }
}

TEST(TimedTransition, ZeroFramesEndSilentlyAfterFinalize)
{
    TRecordingTransition effect;
    effect.SetFrames(0);
    std::vector<std::string> events;
    effect.onAfterTransition = [&](QObject *) { events.push_back("After"); };
    QImage canvas;
    EXPECT_THROW(effect.ExecuteOnImages(kOld, kNew, canvas), TransitionAborted);
    EXPECT_EQ((std::vector<std::string>{"Initialize", "Finalize"}), effect.log);
    EXPECT_EQ((std::vector<std::string>{"After"}), events);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFF0000u);
    EXPECT_FALSE(effect.Executing());
}

TEST(TimedTransition, FailuresFinalizeOnlyAfterAReturnedInitialize)
{
    {
        TRecordingTransition effect;
        effect.failAtFrame = 3;
        QImage canvas;
        EXPECT_THROW(effect.ExecuteOnImages(kOld, kNew, canvas), std::runtime_error);
        EXPECT_EQ((std::vector<std::string>{"Initialize", "Finalize"}), effect.log);
        EXPECT_EQ(effect.workBitmap, nullptr);
    }
    {
        TRecordingTransition effect;
        effect.failInInitialize = true;
        QImage canvas;
        EXPECT_THROW(effect.ExecuteOnImages(kOld, kNew, canvas), std::runtime_error);
        EXPECT_EQ((std::vector<std::string>{"Initialize"}), effect.log);
    }
}

TEST(TimedTransition, FastMachineDrawsEveryFrameAndWaits)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(10);
    effect.SetMilliseconds(100);
    const double start = clock.Now();
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas);
    ASSERT_EQ(effect.calls.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(effect.calls[i].current, int(i) + 1);
        EXPECT_EQ(effect.calls[i].step, 1);
    }
    // Each of the nine steps was stretched to its tenth of the pass, and the new picture shows at
    // its end.
    EXPECT_NEAR(clock.Now() - start, 100, 1);
}

TEST(TimedTransition, SlowMachineGrowsTheStep)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(100);
    effect.SetMilliseconds(100);
    effect.onDraw = [&](PassData &, int) { clock.Advance(5); };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas);
    ASSERT_GE(effect.calls.size(), 2u);
    EXPECT_EQ(effect.calls[0].current, 1);
    // After frame 1 (5 ms) 99 frames remain for 95 ms at 5 ms a frame: step 99 / 19 = 5.2.
    EXPECT_EQ(effect.calls[1].current, 6);
    EXPECT_EQ(effect.calls[1].step, 5);
    EXPECT_LE(effect.calls.size(), 21u);
    for (size_t i = 1; i < effect.calls.size(); ++i) {
        EXPECT_GT(effect.calls[i].current, effect.calls[i - 1].current);
        EXPECT_EQ(effect.calls[i].prev, effect.calls[i - 1].current);
        EXPECT_GE(effect.calls[i].step, 1);
    }
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFF0000u);
}

TEST(TimedTransition, TimePastTheDurationJumpsToTheLastFrame)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(100);
    effect.SetMilliseconds(10);
    effect.onDraw = [&](PassData &, int) { clock.Advance(20); };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas);
    ASSERT_EQ(effect.calls.size(), 1u);
    EXPECT_EQ(canvas.pixel(7, 3), 0xFFFF0000u);
}

// A pass record for running the frame loop directly, as Execute hands it over.
struct DirectPass
{
    QImage from = Solid(8, 4, 0xFF0000FF), to = Solid(8, 4, 0xFFFF0000), work = from.copy(), canvas = from.copy();
    PassData data;
    DirectPass()
    {
        data.bitmap = &work;
        data.srcBmp = &from;
        data.dstBmp = &to;
        data.canvas = &canvas;
        data.width = 8;
        data.height = 4;
    }
};

// On a screen refreshing every 10 ms a 1000-frame pass of 100 ms draws a frame per refresh, not
// one per 0.1 ms, and still ends on time.
TEST(TimedTransition, TheScreenRefreshBoundsTheFrameRate)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(1000);
    effect.SetMilliseconds(100);
    std::vector<double> drawnAt;
    effect.onDraw = [&](PassData &, int) { drawnAt.push_back(clock.Now()); };
    DirectPass pass;
    pass.data.frameInterval = 10;
    const double start = clock.Now();
    effect.RunTransition(pass.data);
    ASSERT_GE(drawnAt.size(), 9u);
    ASSERT_LE(drawnAt.size(), 11u);
    for (std::size_t i = 1; i < drawnAt.size(); ++i)
        EXPECT_GE(drawnAt[i] - drawnAt[i - 1], 9.9) << i;
    EXPECT_EQ(effect.calls.front().current, 1);
    EXPECT_GE(effect.calls.back().current, 880);
    EXPECT_NEAR(clock.Now() - start, 100, 1);
    EXPECT_EQ(pass.canvas.pixel(7, 3), 0xFFFF0000u);
}

// Slow drawing still skips frames as before: the refresh only ever makes steps longer.
TEST(TimedTransition, SlowDrawingIsNotSlowedFurtherByTheRefresh)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(100);
    effect.SetMilliseconds(100);
    effect.onDraw = [&](PassData &, int) { clock.Advance(5); };
    DirectPass pass;
    pass.data.frameInterval = 1;
    effect.RunTransition(pass.data);
    ASSERT_GE(effect.calls.size(), 2u);
    EXPECT_EQ(effect.calls[1].current, 6);
}

// Time spent before the frames (the run's set-up) counts in the pass: it ends Milliseconds after
// StartedAt, not after its first frame.
TEST(TimedTransition, SetUpBeforeTheFramesCountsInThePassTime)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(10);
    effect.SetMilliseconds(100);
    DirectPass pass;
    pass.data.startedAt = clock.Now() - 40;
    effect.RunTransition(pass.data);
    EXPECT_EQ(effect.calls.size(), 9u);
    EXPECT_NEAR(clock.Now() - pass.data.startedAt, 100, 1);
}

// A frame region replaces the two rectangles: only it is copied, and nothing when the effect
// has put the frame onto the canvas itself.
TEST(TimedTransition, FlushCopiesTheFrameRegionUnlessTheFrameIsOnTheCanvas)
{
    const QRegion region = QRegion(QRect(1, 1, 3, 2)) + QRect(6, 5, 2, 3);
    for (bool onCanvas : {false, true}) {
        TRecordingTransition effect;
        effect.SetFrames(2);
        effect.paintColumns = false;
        effect.onDraw = [&](PassData &data, int) {
            FillRect(*data.bitmap, data.bitmap->rect(), qRgb(0, 255, 0));
            effect.updateRect = QRect(0, 0, 2, 2);
            effect.frameRegion = region;
            effect.frameOnCanvas = onCanvas;
        };
        QImage shown;
        FrameStepping stepping;
        stepping.frameShown = [&](int, int, const QImage &canvas) { shown = canvas; };
        QImage canvas;
        effect.ExecuteOnImages(Solid(10, 8, 0xFF0000FF), Solid(10, 8, 0xFFFF0000), canvas, &stepping);
        ASSERT_FALSE(shown.isNull());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(shown.pixel(x, y), !onCanvas && region.contains(QPoint(x, y)) ? 0xFF00FF00u : 0xFF0000FFu)
                    << x << "," << y << (onCanvas ? " on canvas" : "");
        EXPECT_FALSE(effect.frameRegion);
        EXPECT_FALSE(effect.frameOnCanvas);
    }
}

// Flush copies the update rectangle minus the unchanged one from the work bitmap to the canvas.
TEST(TimedTransition, FlushCopiesUpdateMinusUnchanged)
{
    struct Case
    {
        QRect update, unchanged;
        QRegion copied;
    };
    const QRect whole(0, 0, 10, 8);
    const Case cases[] = {
        {QRect(), QRect(), QRegion(whole)},
        {QRect(2, 1, 5, 4), QRect(), QRegion(QRect(2, 1, 5, 4))},
        {QRect(2, 1, 5, 4), QRect(3, 2, 2, 2), QRegion(QRect(2, 1, 5, 4)).subtracted(QRect(3, 2, 2, 2))},
        {RectLTRB(4, 4, 4, 8), QRect(), QRegion()},
        // The whole area minus the unchanged part, not the unchanged part alone.
        {QRect(), QRect(3, 2, 2, 2), QRegion(whole).subtracted(QRect(3, 2, 2, 2))},
    };
    for (const Case &c : cases) {
        TRecordingTransition effect;
        effect.SetFrames(2);
        effect.paintColumns = false;
        effect.onDraw = [&](PassData &data, int) {
            FillRect(*data.bitmap, data.bitmap->rect(), qRgb(0, 255, 0));
            effect.updateRect = c.update;
            effect.unchangedRect = c.unchanged;
        };
        QImage shown;
        FrameStepping stepping;
        stepping.frameShown = [&](int, int, const QImage &canvas) { shown = canvas; };
        QImage canvas;
        effect.ExecuteOnImages(Solid(10, 8, 0xFF0000FF), Solid(10, 8, 0xFFFF0000), canvas, &stepping);
        ASSERT_FALSE(shown.isNull());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(shown.pixel(x, y), c.copied.contains(QPoint(x, y)) ? 0xFF00FF00u : 0xFF0000FFu)
                    << x << "," << y << " update " << c.update.x() << "," << c.update.y();
        EXPECT_EQ(effect.updateRect, QRect());
        EXPECT_EQ(effect.unchangedRect, QRect());
    }
}

// Without a work bitmap the frames are drawn straight onto the canvas.
TEST(TimedTransition, FramesWithoutWorkBitmapGoStraightToTheCanvas)
{
    TRecordingTransition effect;
    effect.SetNeedWork(false);
    effect.SetFrames(4);
    std::vector<QRgb> firstColumn, lastColumn;
    FrameStepping stepping;
    stepping.frameShown = [&](int, int, const QImage &shown) {
        firstColumn.push_back(shown.pixel(0, 0));
        lastColumn.push_back(shown.pixel(7, 0));
    };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas, &stepping);
    EXPECT_EQ(effect.lastData.bitmap, nullptr);
    EXPECT_EQ((std::vector<QRgb>{0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}), firstColumn);
    EXPECT_EQ((std::vector<QRgb>{0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu}), lastColumn);
}

// With two passes and Pass2Options.Reversed, pass 1 runs the opposite way of pass 2.
TEST(TimedTransition, FirstPassRunsReversed)
{
    TRecordingTransition effect;
    effect.SetPassSetting(TTransitionEffect::teTwoPasses);
    effect.Pass2Options()->SetReversed(true);
    std::vector<TTransitionEffect::EffectDirection> directions;
    effect.onDraw = [&](PassData &, int frame) {
        if (frame == 1)
            directions.push_back(effect.GetDirectionToUse());
    };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas);
    EXPECT_EQ(
        (std::vector<TTransitionEffect::EffectDirection>{TTransitionEffect::tedLeft, TTransitionEffect::tedRight}),
        directions);
    EXPECT_FALSE(effect.InSecondPass());
}

TEST(TimedTransition, SteppingDrawsFixedSteps)
{
    TRecordingTransition effect;
    effect.SetFrames(10);
    effect.SetMilliseconds(1000);
    FrameStepping stepping;
    stepping.step = 3;
    std::vector<int> counts, shown;
    stepping.passStarted = [&](int pass, int frames) { counts.push_back(pass * 100 + frames); };
    stepping.frameShown = [&](int, int frame, const QImage &) { shown.push_back(frame); };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas, &stepping);
    EXPECT_EQ((std::vector<int>{110}), counts);
    EXPECT_EQ((std::vector<int>{3, 6, 9}), shown);
    ASSERT_EQ(effect.calls.size(), 3u);
    EXPECT_EQ(effect.calls[1].step, 3);
    EXPECT_EQ(effect.calls[1].prev, 3);
}

TEST(TimedTransition, SteppingCanAskForEachFrameAndSeeEachPassEnd)
{
    TRecordingTransition effect;
    effect.SetFrames(10);
    effect.SetMilliseconds(1000);
    FrameStepping stepping;
    // Frames asked for: 1, then 1 again (the frame after it is drawn instead), 4, then the end.
    const std::vector<int> wanted = {1, 1, 4, 12};
    std::size_t next = 0;
    std::vector<int> asked, ended;
    stepping.nextFrame = [&](int, int frames, int prev) {
        asked.push_back(prev);
        EXPECT_EQ(frames, 10);
        return wanted.at(next++);
    };
    stepping.passShown = [&](int pass, const QImage &shown) {
        ended.push_back(pass);
        EXPECT_EQ(shown.pixel(0, 0), kNew.pixel(0, 0));
    };
    QImage canvas;
    effect.ExecuteOnImages(kOld, kNew, canvas, &stepping);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 4}), asked);
    ASSERT_EQ(effect.calls.size(), 3u);
    EXPECT_EQ(effect.calls[0].current, 1);
    EXPECT_EQ(effect.calls[1].current, 2);
    EXPECT_EQ(effect.calls[2].current, 4);
    EXPECT_EQ(effect.calls[2].step, 2);
    EXPECT_EQ(effect.calls[2].prev, 2);
    EXPECT_EQ((std::vector<int>{1}), ended);
}

}  // namespace

// An effect may draw straight on the canvas only when the two images have the same layout.
TEST(TimedTransition, CanvasStandsInForTheWorkBitmapOnlyWhenAlike)
{
    struct Probe : TRecordingTransition
    {
        using TTransitionEffect::CanDrawOnCanvas;
    };
    QImage work = NewBitmap(9, 5, pf32bit), same = NewBitmap(9, 5, pf32bit), wider = NewBitmap(10, 5, pf32bit),
           other = NewBitmap(9, 5, pf16bit), indexed = NewBitmap(9, 5, pf8bit), indexedWork = NewBitmap(9, 5, pf8bit);
    QImage recoloured = indexed.copy();
    recoloured.setColor(3, qRgb(1, 2, 3));
    struct Case
    {
        QImage *canvas, *bitmap;
        bool expected;
    };
    const Case cases[] = {
        {&same, &work, true},           {&wider, &work, false},
        {&other, &work, false},         {nullptr, &work, false},
        {&same, nullptr, false},        {&work, &work, false},
        {&indexed, &indexedWork, true}, {&recoloured, &indexedWork, false},
    };
    for (const Case &c : cases) {
        PassData data;
        data.canvas = c.canvas;
        data.bitmap = c.bitmap;
        EXPECT_EQ(Probe::CanDrawOnCanvas(data), c.expected) << (&c - cases);
    }
}

}  // namespace lumetta
