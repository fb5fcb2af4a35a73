// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/headless_run.h"
#include "transitions/transitions.h"

#include <QImage>

#include <map>
#include <set>

// Runs an effect headless on two pictures at a screen depth and keeps every frame shown.
namespace lumetta::test {

struct EffectRun
{
    int frameCount = -1;  // from the first pass's Initialize
    int secondPassFrameCount = -1;  // -1 without a second pass
    std::map<int, QImage> frames;  // first pass
    std::map<int, QImage> secondPassFrames;
    QImage final;
    bool aborted = false;  // the run ended with the silent abort
};

// Sets the screen's bits per pixel for a scope.
struct ScreenDepth
{
    explicit ScreenDepth(int bits) { SetScreenBitsPerPixel(bits); }
    ~ScreenDepth() { SetScreenBitsPerPixel(0); }
};

// Runs effect and keeps the first pass's frames listed in keep (all of both passes when keep is
// empty and keepAll is set).
inline EffectRun RunKeeping(TTransitionEffect &effect, const QImage &from, const QImage &to, const std::set<int> &keep,
                            int step = 1, bool keepAll = false)
{
    EffectRun run;
    FrameStepping stepping;
    stepping.step = step;
    stepping.frameShown = [&](int pass, int frame, const QImage &shown) {
        if (keepAll)
            (pass == 1 ? run.frames : run.secondPassFrames)[frame] = shown.copy();
        else if (pass == 1 && keep.count(frame))
            run.frames[frame] = shown.copy();
    };
    const HeadlessRun headless = RunHeadless(effect, from, to, stepping);
    run.frameCount = headless.frameCount;
    run.secondPassFrameCount = headless.secondPassFrameCount;
    run.final = headless.final;
    run.aborted = headless.aborted;
    return run;
}

// Runs effect and keeps every frame shown.
inline EffectRun RunEffect(TTransitionEffect &effect, const QImage &from, const QImage &to, int step = 1)
{
    return RunKeeping(effect, from, to, {}, step, true);
}

// A picture of one colour in the format of a screen depth's pictures.
inline QImage Plain(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

}  // namespace lumetta::test
