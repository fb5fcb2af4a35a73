// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/drip_frames.h"

#include "transitions/core/kernels/drip_kernels.h"
#include "transitions/core/pixels/copy_pixels.h"

namespace lumetta {

int DripFrames::Begin(TravelDirection direction, int width, int height)
{
    direction_ = direction;
    width_ = width;
    height_ = height;
    remaining_ = {0, 0, width, height};
    switch (direction) {
    case TravelDirection::Right:
        strip_ = {width, 0, width, height};
        return width;
    case TravelDirection::Left:
        strip_ = {0, 0, 0, height};
        return width;
    case TravelDirection::Down:
        strip_ = {0, height, width, height};
        return height;
    default:
        strip_ = {0, 0, width, 0};
        return height;
    }
}

HalfOpenRect DripFrames::Draw(int step, const ConstPixelView &newPicture, const PixelView &target)
{
    HalfOpenRect &s = strip_;
    HalfOpenRect &r = remaining_;
    switch (direction_) {
    case TravelDirection::Right:
        s.right = s.left;
        s.left -= step;
        r.right = s.left;
        break;
    case TravelDirection::Left:
        s.left = s.right;
        s.right += step;
        r.left = s.right;
        break;
    case TravelDirection::Down:
        s.bottom = s.top;
        s.top -= step;
        r.bottom = s.top;
        break;
    default:
        s.top = s.bottom;
        s.bottom += step;
        r.top = s.bottom;
        break;
    }
    CopyPixels(target, newPicture, s);
    if (direction_ == TravelDirection::Right || direction_ == TravelDirection::Left)
        SmearColumn(newPicture, s.left, target, r);
    else
        SmearRow(newPicture, s.top, target, r.top, r.bottom);
    return Intersect(Union(s, r), {0, 0, width_, height_});
}

}  // namespace lumetta
