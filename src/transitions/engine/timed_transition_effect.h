// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Frame-based effects paced by a clock.
//
// An effect derives from TTimedTransitionEffect and implements:
//   Initialize(Data, FrameCount)  set up the pass and set FrameCount (<= 0 ends the pass silently);
//                                 copy the old picture into the work bitmap if the effect has one
//   DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame)
//                                 call TTimedTransitionEffect::DrawFrame first (the abort check),
//                                 then draw frame CurrentFrame (1..FrameCount-1, increasing, maybe
//                                 skipping: Step = CurrentFrame - PrevFrame) onto Data.GetCanvas()
//                                 and set UpdateRect to what changed (device pixels, canvas
//                                 coordinates; QRect() = everything) and optionally UnchangedRect
//                                 (a part inside UpdateRect that Flush must not copy)
//   Finalize(Data)                free what Initialize made; runs after every Initialize that
//                                 returned, also on failure
// Frame 0 is the old picture and frame FrameCount the new one; the loop draws neither itself but
// ends every pass by copying Data.DstBmp onto the canvas. Publish Milliseconds (the pass length;
// <= 0 draws every frame unpaced) and register the class in transition_registry.cpp.

#include "transitions/engine/stopwatch.h"
#include "transitions/engine/transition_effect.h"

namespace lumetta {

class TTimedTransitionEffect : public TTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(int Milliseconds READ Milliseconds WRITE SetMilliseconds)

public:
    explicit TTimedTransitionEffect(QObject *owner = nullptr);

    // The frame loop of one pass: Initialize, the frames (paced or not), the final picture, Finalize.
    void RunTransition(PassData &data) override;

    // Virtual operations, in slot order after the base class's.
    // The paced loop over frames 1..FrameCount-1, then the final picture: each step draws the
    // frame the elapsed time asks for, skipping frames when drawing is slow, no sooner than a
    // refresh of the screen (Data.FrameInterval) after the last, and sleeps while ahead.
    virtual void ExecuteTimed(int frameCount, PassData &data);
    // Draws frame CurrentFrame; the base checks for an abort. Overrides call it first.
    virtual void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame);
    // Frees what Initialize made; the base does nothing.
    virtual void Finalize(PassData &data);
    // Sets up the pass and reports its number of frames.
    virtual void Initialize(PassData &data, int &frameCount) = 0;

private:
    void Pace(int current, int frameCount);
    void RunStepped(int frameCount, PassData &data);

    // State of the paced loop of the running pass.
    Stopwatch *passStopwatch_ = nullptr;
    float frameInterval_ = 0;
    float targetStep_ = 0;
    float stepF_ = 1;
    float lastFlush_ = 0;
    float lastEnd_ = 0;
};

}  // namespace lumetta
