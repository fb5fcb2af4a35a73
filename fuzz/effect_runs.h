// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

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

// Runs effect headless on two small noise pictures (an odd width past one 32-pixel group, so
// kernels meet their row ends) at the screen depth the byte picks, drawing at most about eight
// frames a pass; every frame shown must have the pictures' size. The pictures are made once.
// A wipe band far wider than the pictures draws its mask for milliseconds and takes no other
// path than one three times their width: such runs are left to the unit tests.
inline void RunSmall(TTransitionEffect &effect, std::uint8_t depthByte)
{
    if (effect.property("BandWidth").toInt() > 128)
        return;
    static const QImage from = NoisePicture({35, 5}, 1);
    static const QImage to = NoisePicture({35, 5}, 2);
    static const int depths[] = {32, 24, 16, 15, 8};
    SetScreenBitsPerPixel(depths[depthByte % 5]);
    FrameStepping stepping;
    // A pass of thousands of frames (a wide band) is drawn in larger steps.
    stepping.PassStarted = [&stepping](int, int frameCount) { stepping.Step = std::max(1, frameCount / 8); };
    stepping.FrameShown = [](int, int, const QImage &shown) {
        if (shown.size() != from.size())
            std::abort();
    };
    QImage final;
    try {
        effect.ExecuteOnImages(from, to, final, &stepping);
    } catch (const TransitionError &) {
    } catch (const TransitionAborted &) {
    }
}

}  // namespace lumetta::fuzz
