// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/motion_rect_edit.h"

#include <algorithm>

namespace lumetta {

namespace {

// The scale RECT may take: it stays at least the smallest part and at most the whole picture
// along both sides.
double AllowedScale(const SlideMotion::Rect &rect, double factor)
{
    const double largest = std::min(1 / rect.width, 1 / rect.height);
    const double smallest = std::max(SlideMotion::kSmallestFraction / rect.width,
                                     SlideMotion::kSmallestFraction / rect.height);
    return std::clamp(factor, std::min(smallest, 1.0), std::max(largest, 1.0));
}

}  // namespace

SlideMotion::Rect MotionRectEdit::Moved(const SlideMotion::Rect &rect, double dx, double dy)
{
    SlideMotion::Rect moved = SlideMotion::Clamped(rect);
    moved.x = std::clamp(moved.x + dx, 0.0, 1 - moved.width);
    moved.y = std::clamp(moved.y + dy, 0.0, 1 - moved.height);
    return moved;
}

SlideMotion::Rect MotionRectEdit::Scaled(const SlideMotion::Rect &rect, double factor)
{
    const SlideMotion::Rect sound = SlideMotion::Clamped(rect);
    const double scale = AllowedScale(sound, factor);
    SlideMotion::Rect scaled = sound;
    scaled.width = std::min(sound.width * scale, 1.0);
    scaled.height = std::min(sound.height * scale, 1.0);
    scaled.x = sound.x + (sound.width - scaled.width) / 2;
    scaled.y = sound.y + (sound.height - scaled.height) / 2;
    return SlideMotion::Clamped(scaled);
}

SlideMotion::Rect MotionRectEdit::DraggedTo(const SlideMotion::Rect &rect, double x, double y)
{
    const SlideMotion::Rect sound = SlideMotion::Clamped(rect);
    // The corner may not pass the picture's edge: the scale that reaches it is the largest.
    const double reach = std::min((1 - sound.x) / sound.width, (1 - sound.y) / sound.height);
    const double wanted = std::max((x - sound.x) / sound.width, (y - sound.y) / sound.height);
    const double scale = std::min(AllowedScale(sound, wanted), reach);
    SlideMotion::Rect dragged = sound;
    dragged.width = sound.width * scale;
    dragged.height = sound.height * scale;
    return SlideMotion::Clamped(dragged);
}

}  // namespace lumetta
