// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/motion_playback.h"
#include "player/picture_widget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

QImage Noise(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (state = state * 1664525u + 1013904223u) | 0xFF000000u);
    return image;
}

class MotionPlaybackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        slide_.resize(64, 48);
        slide_.show();
    }

    // Runs the event loop for MS milliseconds.
    static void Spin(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    PictureWidget slide_;
    MotionPlayback playback_{&slide_};
};

}  // namespace

TEST_F(MotionPlaybackTest, FirstFrameAtOnceThenNoMoreFramesThanTheScreenShowsAndTheEndLast)
{
    const QImage source = Noise({128, 96});
    playback_.Load(MotionFrames(source, {64, 48}, SlideMotion::ZoomIn(), 0));
    EXPECT_EQ(playback_.FramesDrawn(), 1);
    EXPECT_TRUE(slide_.Picture() == playback_.Frames().FrameAt(0));
    EXPECT_FALSE(playback_.IsMoving());

    constexpr double kDurationMs = 300;
    constexpr double kIntervalMs = 1000.0 / 60;
    QElapsedTimer wall;
    wall.start();
    playback_.Start(kDurationMs, kIntervalMs);
    EXPECT_TRUE(playback_.IsMoving());
    for (int i = 0; i < 200 && playback_.IsMoving(); ++i)
        Spin(10);
    ASSERT_FALSE(playback_.IsMoving());
    // One frame per refresh at most over the time it ran, however slow the machine.
    EXPECT_LE(playback_.FramesDrawn(), 1 + int(double(wall.elapsed()) / kIntervalMs) + 1);
    EXPECT_GE(playback_.FramesDrawn(), 3);
    EXPECT_EQ(playback_.LastFrameMs(), kDurationMs);
    MotionFrames model(source, {64, 48}, SlideMotion::ZoomIn(), kDurationMs);
    EXPECT_TRUE(slide_.Picture() == model.FrameAt(kDurationMs));
    // Nothing more is drawn once the motion has ended.
    const int drawn = playback_.FramesDrawn();
    Spin(60);
    EXPECT_EQ(playback_.FramesDrawn(), drawn);
}

TEST_F(MotionPlaybackTest, AFrozenMotionKeepsItsFrameAndItsTime)
{
    playback_.Load(MotionFrames(Noise({128, 96}), {64, 48}, SlideMotion::PanLeft(), 0));
    playback_.Start(60000, 1000.0 / 60);
    Spin(50);
    playback_.SetFrozen(true);
    EXPECT_FALSE(playback_.IsMoving());
    const int drawn = playback_.FramesDrawn();
    const double elapsed = playback_.ElapsedMs();
    const QImage shown = slide_.Picture();
    Spin(80);
    EXPECT_EQ(playback_.FramesDrawn(), drawn);
    EXPECT_EQ(playback_.ElapsedMs(), elapsed);
    EXPECT_TRUE(slide_.Picture() == shown);
    playback_.SetFrozen(false);
    Spin(50);
    EXPECT_GT(playback_.FramesDrawn(), drawn);
    EXPECT_GT(playback_.ElapsedMs(), elapsed);
    EXPECT_LT(playback_.ElapsedMs(), elapsed + 1000);
    // A motion frozen before it starts waits with its first frame.
    playback_.Load(MotionFrames(Noise({128, 96}), {64, 48}, SlideMotion::PanLeft(), 0));
    playback_.SetFrozen(true);
    playback_.Start(1000, 1000.0 / 60);
    Spin(40);
    EXPECT_EQ(playback_.FramesDrawn(), 1);
    EXPECT_EQ(playback_.ElapsedMs(), 0);
    playback_.Clear();
    EXPECT_FALSE(playback_.IsLoaded());
    EXPECT_FALSE(playback_.IsFrozen());
}
