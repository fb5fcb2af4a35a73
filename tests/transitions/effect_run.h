#pragma once

#include "transitions/TransEff.h"

#include <QImage>

#include <map>

// Runs an effect headless on two pictures at a screen depth and keeps every frame shown.
namespace lumetta::test {

struct EffectRun {
    int frameCount = -1;            // from the first pass's Initialize
    int secondPassFrameCount = -1;  // -1 without a second pass
    std::map<int, QImage> frames;   // first pass
    std::map<int, QImage> secondPassFrames;
    QImage final;
    bool aborted = false;           // the run ended with the silent abort
};

// Sets the screen's bits per pixel for a scope.
struct ScreenDepth {
    explicit ScreenDepth(int bits) { SetScreenBitsPerPixel(bits); }
    ~ScreenDepth() { SetScreenBitsPerPixel(0); }
};

inline EffectRun RunEffect(TTransitionEffect &effect, const QImage &from, const QImage &to, int step = 1)
{
    EffectRun run;
    FrameStepping stepping;
    stepping.Step = step;
    stepping.PassStarted = [&](int pass, int frameCount) {
        (pass == 1 ? run.frameCount : run.secondPassFrameCount) = frameCount;
    };
    stepping.FrameShown = [&](int pass, int frame, const QImage &shown) {
        (pass == 1 ? run.frames : run.secondPassFrames)[frame] = shown.copy();
    };
    try {
        effect.ExecuteOnImages(from, to, run.final, &stepping);
    } catch (const TransitionAborted &) {
        run.aborted = true;
    }
    return run;
}

// A picture of one colour in the format of a screen depth's pictures.
inline QImage Plain(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

}  // namespace lumetta::test
