// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/motion_playback.h"

#include "player/picture_widget.h"

#include <cmath>

namespace lumetta {

MotionPlayback::MotionPlayback(PictureWidget *slide, QObject *parent) : QObject(parent), slide_(slide)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &MotionPlayback::Tick);
}

void MotionPlayback::Load(MotionFrames frames)
{
    Clear();
    frames_ = std::move(frames);
    framesDrawn_ = 0;
    Draw(0);
}

void MotionPlayback::Clear()
{
    timer_.stop();
    clock_.Reset();
    frames_ = MotionFrames();
    started_ = false;
    frozen_ = false;
    lastFrameMs_ = 0;
}

void MotionPlayback::Start(double durationMs, double frameIntervalMs)
{
    if (frames_.IsNull())
        return;
    frames_.SetDurationMs(durationMs);
    frameIntervalMs_ = frameIntervalMs;
    clock_.Reset();
    started_ = true;
    if (!frozen_) {
        clock_.Start();
        ScheduleNext();
    }
}

void MotionPlayback::SetFrozen(bool frozen)
{
    if (frozen == frozen_)
        return;
    frozen_ = frozen;
    if (!started_)
        return;
    if (frozen) {
        clock_.Pause();
        timer_.stop();
    } else {
        clock_.Start();
        ScheduleNext();
    }
}

void MotionPlayback::Tick()
{
    const double ms = clock_.Elapsed();
    Draw(std::min(ms, frames_.DurationMs()));
    if (ms < frames_.DurationMs())
        ScheduleNext();
}

void MotionPlayback::Draw(double ms)
{
    slide_->SetPicture(frames_.FrameAt(ms));
    // On the screen at once, so frames keep their spacing.
    slide_->repaint();
    lastFrameMs_ = ms;
    ++framesDrawn_;
}

void MotionPlayback::ScheduleNext()
{
    // Frames fall on a grid of refreshes: the next one in the first slot after the last frame's,
    // at once when that slot has begun already, so timer delays do not add up to missed slots.
    const double elapsed = clock_.Elapsed();
    const double interval = std::max(frameIntervalMs_, 1.0);
    const double lastSlot = std::floor(lastFrameMs_ / interval);
    const double due = std::floor(elapsed / interval) > lastSlot ? elapsed : (lastSlot + 1) * interval;
    timer_.start(int(std::ceil(due - elapsed)));
}

}  // namespace lumetta
