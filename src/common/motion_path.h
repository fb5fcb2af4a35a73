// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_motion.h"

// Plain C++ only: the web show reuses this arithmetic.

namespace lumetta {

// Where a slide's motion stands at a moment: the part of the picture (in the picture's pixels,
// fractions kept, so a slow motion never steps by whole pixels) that fills the slide then.
class MotionPath
{
public:
    struct Size
    {
        double width = 0;
        double height = 0;
    };
    // A part of the picture in its pixels.
    struct Crop
    {
        double x = 0;
        double y = 0;
        double width = 0;
        double height = 0;

        bool operator==(const Crop &other) const = default;
    };

    // MOTION over a picture of PICTURE pixels shown in a slide of SLIDE pixels for DURATION_MS.
    MotionPath(const SlideMotion &motion, Size picture, Size slide, double durationMs);

    // The largest part at the slide's proportions inside RECT (made sound first), centred on it
    // and kept inside the picture: a crop that fills the slide without stretching.
    static Crop Fit(const SlideMotion::Rect &rect, Size picture, Size slide);
    // How far along the way the motion is at fraction T of its time (clamped to 0..1), eased.
    static double Eased(SlideMotion::Easing easing, double t);

    // The crop at MS milliseconds into the slide; before 0 the start, after the end the end. A
    // motion without time stays at its start.
    Crop At(double ms) const;
    // The crop of frame FRAME of a video of FPS frames a second whose first frame is the
    // slide's first.
    Crop AtFrame(long long frame, double fps) const;
    const Crop &Start() const { return start_; }
    const Crop &End() const { return end_; }
    double DurationMs() const { return durationMs_; }

private:
    Crop start_;
    Crop end_;
    SlideMotion::Easing easing_;
    double durationMs_;
};

}  // namespace lumetta
