// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/motion_frames.h"
#include "transitions/engine/stopwatch.h"

#include <QObject>
#include <QTimer>

namespace lumetta {

class PictureWidget;

// Runs a slide's motion on the slide's picture control while the slide shows: one frame per
// refresh of the screen at most, the time between them left to the processor's other work, the
// last frame at the motion's end and then no more.
class MotionPlayback : public QObject
{
    Q_OBJECT

public:
    explicit MotionPlayback(PictureWidget *slide, QObject *parent = nullptr);

    // Takes over FRAMES for the slide now shown and draws their first frame; the motion waits
    // for Start.
    void Load(MotionFrames frames);
    // Stops and forgets the motion; the slide keeps the frame last drawn.
    void Clear();
    // Starts the motion's clock for a motion lasting DURATION_MS, frames at most every
    // FRAME_INTERVAL_MS (one refresh of the screen).
    void Start(double durationMs, double frameIntervalMs);
    // A frozen motion keeps its frame and its clock stands still until it is thawed.
    void SetFrozen(bool frozen);

    bool IsLoaded() const { return !frames_.IsNull(); }
    // Frames are still to come.
    bool IsMoving() const { return timer_.isActive(); }
    bool IsFrozen() const { return frozen_; }
    // Milliseconds of the motion's clock.
    double ElapsedMs() const { return clock_.Elapsed(); }
    // Test hooks: the motion, the clock reading of the frame last drawn and how many were drawn.
    MotionFrames &Frames() { return frames_; }
    double LastFrameMs() const { return lastFrameMs_; }
    int FramesDrawn() const { return framesDrawn_; }

private:
    void Tick();
    void Draw(double ms);
    void ScheduleNext();

    PictureWidget *slide_;
    MotionFrames frames_;
    QTimer timer_;
    Stopwatch clock_;
    double frameIntervalMs_ = 0;
    double lastFrameMs_ = 0;
    int framesDrawn_ = 0;
    bool started_ = false;
    bool frozen_ = false;
};

}  // namespace lumetta
