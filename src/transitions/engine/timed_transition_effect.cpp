// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/timed_transition_effect.h"

#include "transitions/engine/transition_aborted.h"

#include "common/arith.h"

#include <QPointer>

#include <algorithm>

namespace lumetta {

TTimedTransitionEffect::TTimedTransitionEffect(QObject *owner) : TTransitionEffect(owner)
{
}

void TTimedTransitionEffect::DrawFrame(PassData &, int, int, int, int)
{
    CheckAbort();
}

void TTimedTransitionEffect::Finalize(PassData &)
{
}

void TTimedTransitionEffect::RunTransition(PassData &data)
{
    int frameCount = 0;
    Initialize(data, frameCount);
    // The work bitmap reference goes last, after Finalize, whatever happens; an effect deleted
    // during the run is not touched again.
    const QPointer<TTimedTransitionEffect> self(this);
    struct ClearWork
    {
        const QPointer<TTimedTransitionEffect> &effect;
        ~ClearWork()
        {
            if (effect)
                effect->workBitmap = nullptr;
        }
    } clearWork{self};
    try {
        if (data.stepping && data.stepping->passStarted)
            data.stepping->passStarted(InSecondPass() ? 2 : 1, frameCount);
        if (frameCount <= 0)
            throw TransitionAborted();
        workBitmap = data.bitmap;
        if (data.stepping) {
            RunStepped(frameCount, data);
        } else if (Milliseconds() > 0) {
            ExecuteTimed(frameCount, data);
        } else {
            for (int i = 1; i < frameCount; ++i) {
                DrawFrame(data, i, 1, frameCount, i - 1);
                if (aborted)
                    break;
                Flush();
            }
            ShowFinalPicture(data);
        }
    } catch (...) {
        if (self)
            Finalize(data);
        throw;
    }
    Finalize(data);
}

void TTimedTransitionEffect::RunStepped(int frameCount, PassData &data)
{
    const FrameStepping &stepping = *data.stepping;
    const int pass = InSecondPass() ? 2 : 1;
    const int step = std::max(1, stepping.step);
    auto next = [&](int prev) {
        return stepping.nextFrame ? std::max(prev + 1, stepping.nextFrame(pass, frameCount, prev)) : prev + step;
    };
    for (int prev = 0, frame = next(0); frame < frameCount; prev = frame, frame = next(frame)) {
        DrawFrame(data, frame, frame - prev, frameCount, prev);
        if (aborted)
            break;
        Flush();
        if (stepping.frameShown && data.canvas)
            stepping.frameShown(pass, frame, *data.canvas);
    }
    ShowFinalPicture(data);
    if (stepping.passShown && data.canvas)
        stepping.passShown(pass, *data.canvas);
}

void TTimedTransitionEffect::ExecuteTimed(int frameCount, PassData &data)
{
    frameInterval_ = float(std::max(data.frameInterval, 0.0));
    targetStep_ = std::max(float(Milliseconds()) / float(frameCount), frameInterval_);
    stepF_ = std::min(1.0f, float(frameCount));
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
            effect->workBitmap = nullptr;
        }
    } scope{this};
    passStopwatch_ = &passStopwatch;
    // The run's set-up before the first frame is part of the pass's time.
    if (data.startedAt >= 0)
        passStopwatch.StartAt(data.startedAt);
    else
        passStopwatch.Start();
    lastEnd_ = float(passStopwatch.Elapsed());

    int current = lumetta::RoundEven(stepF_);
    int prev = 0;
    while (frameCount > current) {
        DrawFrame(data, current, current - prev, frameCount, prev);
        if (aborted)
            break;
        prev = current;
        Pace(current, frameCount);
        current = lumetta::RoundEven(float(current) + stepF_);
    }
    // Each frame shows from the start of its step, so the loop ends a step early: the new
    // picture is the frame for the end of the pass.
    if (!aborted)
        Stopwatch::Wait(float(Milliseconds()) - float(passStopwatch.Elapsed()));
    ShowFinalPicture(data);
    passStopwatch.Pause();
}

void TTimedTransitionEffect::Pace(int current, int frameCount)
{
    auto t = [this] { return float(passStopwatch_->Elapsed()); };

    const float prevFlush = lastFlush_;
    const float t0 = t();
    Flush();
    lastFlush_ = t() - t0;

    const float t1 = t();
    const float wait = (targetStep_ - prevFlush) - (t1 - lastEnd_);
    // Ahead of time: sleep, leaving the processor to others, rather than poll the clock.
    if (wait > 0)
        Stopwatch::Wait(wait);
    const float waited = t() - t1;
    const float prevEnd = lastEnd_;
    // A late wake-up does not push back every later frame: the step ended when it was due.
    lastEnd_ = wait > 0 ? std::min(t(), t1 + wait) : t();

    const float now = t();
    const float work = now - prevEnd - waited;
    const float remainingFrames = float(frameCount - current);
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
