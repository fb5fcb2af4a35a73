// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/motion_path.h"

#include <algorithm>

namespace lumetta {

MotionPath::MotionPath(const SlideMotion &motion, Size picture, Size slide, double durationMs)
    : start_(Fit(motion.start, picture, slide)),
      end_(Fit(motion.end, picture, slide)),
      easing_(motion.easing),
      durationMs_(durationMs)
{
}

MotionPath::Crop MotionPath::Fit(const SlideMotion::Rect &rect, Size picture, Size slide)
{
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    const SlideMotion::Rect sound = SlideMotion::Clamped(rect);
    const double aspect = slide.width > 0 && slide.height > 0 ? slide.width / slide.height
                                                              : picture.width / picture.height;
    const double wide = sound.width * picture.width;
    const double high = sound.height * picture.height;
    Crop crop;
    crop.width = std::min({wide, high * aspect, picture.width});
    crop.height = std::min(crop.width / aspect, picture.height);
    crop.width = std::min(crop.width, crop.height * aspect);
    const double centreX = (sound.x + sound.width / 2) * picture.width;
    const double centreY = (sound.y + sound.height / 2) * picture.height;
    crop.x = std::clamp(centreX - crop.width / 2, 0.0, picture.width - crop.width);
    crop.y = std::clamp(centreY - crop.height / 2, 0.0, picture.height - crop.height);
    return crop;
}

double MotionPath::Eased(SlideMotion::Easing easing, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    switch (easing) {
    case SlideMotion::Easing::Linear:
        return t;
    case SlideMotion::Easing::EaseInOut:
        // Starts and ends at rest, with no jolt at either end.
        return t * t * (3 - 2 * t);
    }
    return t;
}

MotionPath::Crop MotionPath::At(double ms) const
{
    const double along = durationMs_ > 0 ? Eased(easing_, ms / durationMs_) : 0;
    const auto mix = [along](double from, double to) { return from + (to - from) * along; };
    return {mix(start_.x, end_.x), mix(start_.y, end_.y), mix(start_.width, end_.width),
            mix(start_.height, end_.height)};
}

MotionPath::Crop MotionPath::AtFrame(long long frame, double fps) const
{
    return fps > 0 ? At(double(frame) * 1000.0 / fps) : start_;
}

}  // namespace lumetta
