// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/wipe_frames.h"

#include "common/arith.h"
#include "common/random.h"
#include "transitions/core/pixels/copy_pixels.h"

#include <algorithm>

namespace lumetta {
namespace {

// [total / frames * frame]: the share of total covered by a frame, halves to even.
int Share(int total, int frames, int frame)
{
    return int(RoundEven(double(total) / frames * frame));
}

}  // namespace

bool WipeFrames::IsStraight() const
{
    return direction_ == TravelDirection::Right || direction_ == TravelDirection::Left
           || direction_ == TravelDirection::Down || direction_ == TravelDirection::Up;
}

int WipeFrames::Begin(TravelDirection direction, int bandWidth, int width, int height)
{
    const int w = width, h = height;
    direction_ = direction;
    width_ = w;
    height_ = h;
    bandWidth_ = IsStraight() ? bandWidth : 0;
    maskX_ = maskY_ = 0;
    band_ = {};
    if (bandWidth_ == 0) {
        mask_.Clear();
    } else {
        const BandAxis axis = direction == TravelDirection::Right || direction == TravelDirection::Left
                                  ? BandAxis::Columns
                                  : BandAxis::Rows;
        const bool newSideFirst = direction == TravelDirection::Right || direction == TravelDirection::Down;
        if (!mask_.Fits(axis, newSideFirst, BandMask::SizeFor(axis, bandWidth_, w, h)))
            mask_.Build(axis, newSideFirst, bandWidth_, w, h);
    }

    const int bw = bandWidth_;
    switch (direction) {
    case TravelDirection::Right:
        frames_ = w + bw;
        uncovered_ = {1 - bw, 0, -bw, h};
        band_ = {uncovered_.right + 1, 0, uncovered_.right + 1 + bw, h};
        break;
    case TravelDirection::Left:
        frames_ = w + bw;
        uncovered_ = {w + bw, 0, w + bw, h};
        band_ = {uncovered_.left - bw - 1, 0, uncovered_.right - 1, h};
        break;
    case TravelDirection::Down:
        frames_ = h + bw;
        uncovered_ = {0, -bw, w, -bw};
        band_ = {0, uncovered_.bottom + 1, w, uncovered_.bottom + 1 + bw};
        break;
    case TravelDirection::Up:
        frames_ = h + bw;
        uncovered_ = {0, h + bw, w, h + bw};
        band_ = {0, uncovered_.top - bw - 1, w, uncovered_.bottom - 1};
        break;
    case TravelDirection::DownRight:
        frames_ = w + h;
        uncovered_ = {0, 0, 0, 0};
        break;
    case TravelDirection::DownLeft:
        frames_ = std::max(w, h);
        uncovered_ = {w, 0, w, 0};
        break;
    case TravelDirection::UpRight:
        frames_ = std::max(w, h);
        uncovered_ = {0, h, 0, h};
        break;
    case TravelDirection::UpLeft:
        frames_ = std::max(w, h);
        uncovered_ = {w, h, w, h};
        break;
    case TravelDirection::In:
        frames_ = std::max(w, h) / 2;
        uncovered_ = {0, 0, w, h};
        break;
    case TravelDirection::Out:
        frames_ = std::max(w, h) / 2;
        uncovered_ = {w / 2, h / 2, w / 2, h / 2};
        break;
    }
    return frames_;
}

FrameChange WipeFrames::Draw(int frame, int step, const ConstPixelView &oldPicture, const ConstPixelView &newPicture,
                             const PixelView &target)
{
    change_ = {};
    if (IsStraight())
        DrawStraight(step, oldPicture, newPicture, target);
    else if (direction_ == TravelDirection::In || direction_ == TravelDirection::Out)
        DrawInOut(frame, newPicture, target);
    else
        DrawCorner(frame, newPicture, target);
    return change_;
}

void WipeFrames::DrawStraight(int step, const ConstPixelView &oldPicture, const ConstPixelView &newPicture,
                              const PixelView &target)
{
    HalfOpenRect &u = uncovered_;
    const bool band = bandWidth_ > 0;
    switch (direction_) {
    case TravelDirection::Right:
        u.left = u.right;
        u.right += step;
        if (band) {
            band_.left = u.right + 1;
            band_.right = band_.left + bandWidth_;
            maskY_ = Random(kBandMaskSlack);
        }
        break;
    case TravelDirection::Left:
        u.right = u.left;
        u.left -= step;
        if (band) {
            band_.right = u.left - 1;
            band_.left = band_.right - bandWidth_;
            maskY_ = Random(kBandMaskSlack);
        }
        break;
    case TravelDirection::Down:
        u.top = u.bottom;
        u.bottom += step;
        if (band) {
            band_.top = u.bottom + 1;
            band_.bottom = band_.top + bandWidth_;
            maskX_ = Random(kBandMaskSlack);
        }
        break;
    default:
        u.bottom = u.top;
        u.top -= step;
        if (band) {
            band_.bottom = u.top - 1;
            band_.top = band_.bottom - bandWidth_;
            maskX_ = Random(kBandMaskSlack);
        }
        break;
    }

    if (!band) {
        CopyNew(u, newPicture, target);
        return;
    }
    // The strip takes its right column and bottom row too, closing the seam to the band.
    const HalfOpenRect strip{u.left, u.top, u.right + 1, u.bottom + 1};
    mask_.Compose(oldPicture, newPicture, target, band_, maskX_, maskY_, strip);
    AddUpdate(band_);
    AddUpdate(strip);
}

void WipeFrames::DrawCorner(int frame, const ConstPixelView &newPicture, const PixelView &target)
{
    const int w = width_;
    const int h = height_;
    HalfOpenRect &u = uncovered_;
    const int x = Share(w, frames_, frame);
    const int y = Share(h, frames_, frame);
    const int xr = w - x;  // from the right edge
    const int yb = h - y;  // from the bottom edge
    // What was uncovered before already shows the new picture: the strips form an L around it.
    change_.unchanged = Clipped(u);
    switch (direction_) {
    case TravelDirection::DownRight:
        CopyNew({0, u.bottom, x, y}, newPicture, target);
        CopyNew({u.right, 0, x, u.bottom}, newPicture, target);
        u.right = x;
        u.bottom = y;
        break;
    case TravelDirection::DownLeft:
        CopyNew({xr, u.bottom, w, y}, newPicture, target);
        CopyNew({xr, 0, u.left, u.bottom}, newPicture, target);
        u.left = xr;
        u.bottom = y;
        break;
    case TravelDirection::UpRight:
        CopyNew({0, yb, x, u.top}, newPicture, target);
        CopyNew({u.right, u.top, x, h}, newPicture, target);
        u.right = x;
        u.top = yb;
        break;
    default:
        CopyNew({xr, yb, w, u.top}, newPicture, target);
        CopyNew({xr, u.top, u.left, h}, newPicture, target);
        u.left = xr;
        u.top = yb;
        break;
    }
}

void WipeFrames::DrawInOut(int frame, const ConstPixelView &newPicture, const PixelView &target)
{
    const int w = width_;
    const int h = height_;
    const HalfOpenRect r = uncovered_;
    int dx, dy;
    // The strips form a frame around a part that does not change: the rectangle still showing
    // the old picture when closing in, the one already showing the new picture when opening out.
    if (direction_ == TravelDirection::In) {
        dx = Share(w, frames_, frame) / 2;
        dy = Share(h, frames_, frame) / 2;
        CopyNew({r.left, r.top, r.right, dy}, newPicture, target);
        CopyNew({r.left, dy, dx, h - dy}, newPicture, target);
        CopyNew({w - dx, dy, r.right, h - dy}, newPicture, target);
        CopyNew({r.left, h - dy, r.right, r.bottom}, newPicture, target);
        change_.unchanged = Clipped({dx, dy, w - dx, h - dy});
    } else {
        dx = (w - Share(w, frames_, frame)) / 2;
        dy = (h - Share(h, frames_, frame)) / 2;
        CopyNew({dx, dy, w - dx, r.top}, newPicture, target);
        CopyNew({dx, r.top, r.left, h - dy}, newPicture, target);
        CopyNew({r.right, r.top, w - dx, r.bottom}, newPicture, target);
        CopyNew({dx, r.bottom, w - dx, h - dy}, newPicture, target);
        change_.unchanged = Clipped(r);
    }
    uncovered_ = {dx, dy, w - dx, h - dy};
}

void WipeFrames::CopyNew(const HalfOpenRect &r, const ConstPixelView &newPicture, const PixelView &target)
{
    if (!r.IsEmpty())
        CopyPixels(target, newPicture, r);
    AddUpdate(r);
}

void WipeFrames::AddUpdate(const HalfOpenRect &r)
{
    change_.update = Union(change_.update, Clipped(r));
}

HalfOpenRect WipeFrames::Clipped(const HalfOpenRect &r) const
{
    return Intersect(r, {0, 0, width_, height_});
}

}  // namespace lumetta
