#pragma once

#include "transitions/TransEff.h"
#include "transitions/headless_run.h"
#include "transitions/noise_picture.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lumetta::fuzz {

// The classes an effect byte chooses among, registered once.
inline const QStringList &EffectClasses()
{
    static const QStringList classes = [] {
        InitTransitionEngine();
        RegisterTransitionClasses();
        return RegisteredTransitionClasses();
    }();
    return classes;
}

// Runs effect headless on two small noise pictures (odd width, so kernels meet their row ends)
// at the screen depth the byte picks, drawing at most about forty frames a pass, and checks
// that the area ends with the new picture. The pictures are made once.
inline void RunSmall(TTransitionEffect &effect, std::uint8_t depthByte)
{
    static const QImage from = NoisePicture({37, 11}, 1);
    static const QImage to = NoisePicture({37, 11}, 2);
    static const int depths[] = {32, 24, 16, 15, 8};
    SetScreenBitsPerPixel(depths[depthByte % 5]);
    FrameStepping stepping;
    // A pass of thousands of frames (a wide band) is drawn in larger steps.
    stepping.PassStarted = [&stepping](int, int frameCount) { stepping.Step = std::max(1, frameCount / 40); };
    try {
        const HeadlessRun run = RunHeadless(effect, from, to, stepping);
        const QImage expected = ConvertToPixelFormat(to, ScreenPixelFormat());
        if (run.final.size() != expected.size() || run.final != expected)
            std::abort();
    } catch (const TransitionError &) {
    }
}

}  // namespace lumetta::fuzz
