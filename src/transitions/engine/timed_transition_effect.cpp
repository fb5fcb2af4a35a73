// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/timed_transition_effect.h"

#include "transitions/engine/transition_aborted.h"

#include "common/arith.h"

#include <QPointer>

#include <algorithm>

namespace lumetta {

TTimedTransitionEffect::TTimedTransitionEffect(QObject *Owner) : TTransitionEffect(Owner)
{
}

void TTimedTransitionEffect::DrawFrame(PassData &, int, int, int, int)
{
    CheckAbort();
}

void TTimedTransitionEffect::Finalize(PassData &)
{
}

void TTimedTransitionEffect::RunTransition(PassData &Data)
{
    int frameCount = 0;
    Initialize(Data, frameCount);
    // The work bitmap reference goes last, after Finalize, whatever happens; an effect deleted
    // during the run is not touched again.
    const QPointer<TTimedTransitionEffect> self(this);
    struct ClearWork
    {
        const QPointer<TTimedTransitionEffect> &effect;
        ~ClearWork()
        {
            if (effect)
                effect->WorkBitmap = nullptr;
        }
    } clearWork{self};
    try {
        if (Data.Stepping && Data.Stepping->PassStarted)
            Data.Stepping->PassStarted(InSecondPass() ? 2 : 1, frameCount);
        if (frameCount <= 0)
            throw TransitionAborted();
        WorkBitmap = Data.Bitmap;
        if (Data.Stepping) {
            RunStepped(frameCount, Data);
        } else if (Milliseconds() > 0) {
            ExecuteTimed(frameCount, Data);
        } else {
            for (int i = 1; i < frameCount; ++i) {
                DrawFrame(Data, i, 1, frameCount, i - 1);
                if (Aborted)
                    break;
                Flush();
            }
            ShowFinalPicture(Data);
        }
    } catch (...) {
        if (self)
            Finalize(Data);
        throw;
    }
    Finalize(Data);
}

void TTimedTransitionEffect::RunStepped(int FrameCount, PassData &Data)
{
    const FrameStepping &stepping = *Data.Stepping;
    const int pass = InSecondPass() ? 2 : 1;
    const int step = std::max(1, stepping.Step);
    auto next = [&](int prev) {
        return stepping.NextFrame ? std::max(prev + 1, stepping.NextFrame(pass, FrameCount, prev)) : prev + step;
    };
    for (int prev = 0, frame = next(0); frame < FrameCount; prev = frame, frame = next(frame)) {
        DrawFrame(Data, frame, frame - prev, FrameCount, prev);
        if (Aborted)
            break;
        Flush();
        if (stepping.FrameShown && Data.Canvas)
            stepping.FrameShown(pass, frame, *Data.Canvas);
    }
    ShowFinalPicture(Data);
    if (stepping.PassShown && Data.Canvas)
        stepping.PassShown(pass, *Data.Canvas);
}

void TTimedTransitionEffect::ExecuteTimed(int FrameCount, PassData &Data)
{
    frameInterval_ = float(std::max(Data.FrameInterval, 0.0));
    targetStep_ = std::max(float(Milliseconds()) / float(FrameCount), frameInterval_);
    stepF_ = std::min(1.0f, float(FrameCount));
    lastFlush_ = 0;

    Stopwatch passStopwatch;
    struct Scope
    {
        QPointer<TTimedTransitionEffect> effect;
        ~Scope()
        {
            if (!effect)
                return;
            effect->passStopwatch_ = nullptr;
            effect->WorkBitmap = nullptr;
        }
    } scope{this};
    passStopwatch_ = &passStopwatch;
    // The run's set-up before the first frame is part of the pass's time.
    if (Data.StartedAt >= 0)
        passStopwatch.StartAt(Data.StartedAt);
    else
        passStopwatch.Start();
    lastEnd_ = float(passStopwatch.Elapsed());

    int current = lumetta::RoundEven(stepF_);
    int prev = 0;
    while (FrameCount > current) {
        DrawFrame(Data, current, current - prev, FrameCount, prev);
        if (Aborted)
            break;
        prev = current;
        Pace(current, FrameCount);
        current = lumetta::RoundEven(float(current) + stepF_);
    }
    // Each frame shows from the start of its step, so the loop ends a step early: the new
    // picture is the frame for the end of the pass.
    if (!Aborted)
        Stopwatch::Wait(float(Milliseconds()) - float(passStopwatch.Elapsed()));
    ShowFinalPicture(Data);
    passStopwatch.Pause();
}

void TTimedTransitionEffect::Pace(int Current, int FrameCount)
{
    auto T = [this] { return float(passStopwatch_->Elapsed()); };

    const float prevFlush = lastFlush_;
    const float t0 = T();
    Flush();
    lastFlush_ = T() - t0;

    const float t1 = T();
    const float wait = (targetStep_ - prevFlush) - (t1 - lastEnd_);
    // Ahead of time: sleep, leaving the processor to others, rather than poll the clock.
    if (wait > 0)
        Stopwatch::Wait(wait);
    const float waited = T() - t1;
    const float prevEnd = lastEnd_;
    // A late wake-up does not push back every later frame: the step ended when it was due.
    lastEnd_ = wait > 0 ? std::min(T(), t1 + wait) : T();

    const float now = T();
    const float work = now - prevEnd - waited;
    const float remainingFrames = float(FrameCount - Current);
    const float remainingTime = float(Milliseconds()) - now;
    if (remainingTime > 0) {
        float step = remainingFrames / (remainingTime / work);
        // Frames faster than the screen refreshes would never be seen: at least one refresh a step.
        if (frameInterval_ > 0)
            step = std::max(step, remainingFrames / (remainingTime / frameInterval_));
        stepF_ = std::min(std::max(step, 1.0f), remainingFrames);
    } else {
        stepF_ = remainingFrames;
    }
    targetStep_ = remainingTime / (remainingFrames / stepF_);
}

}  // namespace lumetta
