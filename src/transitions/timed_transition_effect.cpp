#include "transitions/timed_transition_effect.h"

#include "common/arith.h"

#include <QPointer>

#include <algorithm>

TTimedTransitionEffect::TTimedTransitionEffect(QObject *Owner) : TTransitionEffect(Owner) {}

void TTimedTransitionEffect::DrawFrame(PassData &, int, int, int, int) { CheckAbort(); }

void TTimedTransitionEffect::Finalize(PassData &) {}

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
    const int step = std::max(1, Data.Stepping->Step);
    for (int frame = step; frame < FrameCount; frame += step) {
        DrawFrame(Data, frame, step, FrameCount, frame - step);
        if (Aborted)
            break;
        Flush();
        if (Data.Stepping->FrameShown && Data.Canvas)
            Data.Stepping->FrameShown(InSecondPass() ? 2 : 1, frame, *Data.Canvas);
    }
    ShowFinalPicture(Data);
}

void TTimedTransitionEffect::ExecuteTimed(int FrameCount, PassData &Data)
{
    targetStep_ = float(Milliseconds()) / float(FrameCount);
    stepF_ = std::min(1.0f, float(FrameCount));
    lastFlush_ = 0;
    lastEnd_ = 0;

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
    passStopwatch.Start();

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
    if (wait > 0) {
        // A busy wait on the counter: no sleep and no event processing, to meet frame times.
        waitStopwatch_.Start();
        while (float(waitStopwatch_.Elapsed()) < wait) {
        }
        waitStopwatch_.Reset();
    }
    const float waited = T() - t1;
    const float prevEnd = lastEnd_;
    lastEnd_ = T();

    const float now = T();
    const float work = now - prevEnd - waited;
    const float remainingFrames = float(FrameCount - Current);
    const float remainingTime = float(Milliseconds()) - now;
    if (remainingTime > 0)
        stepF_ = std::min(std::max(remainingFrames / (remainingTime / work), 1.0f), remainingFrames);
    else
        stepF_ = remainingFrames;
    targetStep_ = remainingTime / (remainingFrames / stepF_);
}
