// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/slide_motion.h"

#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

// A side from LOW to HIGH; anything else that is not a number: FALLBACK.
double Within(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

SlideMotion::Rect Centred(double fraction)
{
    const double margin = (1 - fraction) / 2;
    return {margin, margin, fraction, fraction};
}

constexpr double kGentleSpread = 0.1;
constexpr double kPresetZoom = 0.75;
constexpr double kPanSize = 0.8;

}  // namespace

SlideMotion::Rect SlideMotion::Clamped(const Rect &rect)
{
    Rect sound;
    sound.width = Within(rect.width, kSmallestFraction, 1, 1);
    sound.height = Within(rect.height, kSmallestFraction, 1, 1);
    sound.x = Within(rect.x, 0, 1 - sound.width, 0);
    sound.y = Within(rect.y, 0, 1 - sound.height, 0);
    return sound;
}

SlideMotion SlideMotion::ZoomIn()
{
    return {Rect(), Centred(kPresetZoom), Easing::EaseInOut};
}

SlideMotion SlideMotion::ZoomOut()
{
    return {Centred(kPresetZoom), Rect(), Easing::EaseInOut};
}

SlideMotion SlideMotion::PanLeft()
{
    const double top = (1 - kPanSize) / 2;
    return {{1 - kPanSize, top, kPanSize, kPanSize}, {0, top, kPanSize, kPanSize}, Easing::EaseInOut};
}

SlideMotion SlideMotion::PanRight()
{
    const SlideMotion left = PanLeft();
    return {left.end, left.start, left.easing};
}

SlideMotion SlideMotion::DrawGentle()
{
    // Drawn in a fixed order, so one seed gives one motion.
    const bool zoomIn = Random(2) == 0;
    const double size = kGentleLeast + kGentleSpread * RandomReal();
    const Rect close{(1 - size) * RandomReal(), (1 - size) * RandomReal(), size, size};
    return zoomIn ? SlideMotion{Rect(), close, Easing::Linear} : SlideMotion{close, Rect(), Easing::Linear};
}

}  // namespace lumetta
