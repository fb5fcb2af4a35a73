// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/wipe_transition.h"

#include "common/arith.h"
#include "common/random.h"
#include "transitions/engine/core_conversions.h"

#include <algorithm>

namespace lumetta {

using lumetta::HalfOpenRect;

namespace {

bool IsStraight(TTransitionEffect::EffectDirection d)
{
    return d == TTransitionEffect::tedRight || d == TTransitionEffect::tedLeft || d == TTransitionEffect::tedDown
           || d == TTransitionEffect::tedUp;
}

// [total / frames * frame]: the share of total covered by a frame, halves to even.
int Share(int total, int frames, int frame)
{
    return int(lumetta::RoundEven(double(total) / frames * frame));
}

}  // namespace

TWipeTransition::TWipeTransition(QObject *owner) : TTimedTransitionEffect(owner)
{
    allowedDirections.reset();
    for (int d = tedRight; d <= tedOut; ++d)
        allowedDirections.set(std::size_t(d));
    SetDirection(tedRight);
}

int TWipeTransition::BandWidth() const
{
    return IsStraight(GetDirectionToUse()) ? bandWidth_ : 0;
}

void TWipeTransition::SetBandWidth(int value)
{
    bandWidth_ = kBandWidthRange.Clamp(value);
}

std::optional<ValueRange> TWipeTransition::PropertyRange(const QString &property) const
{
    if (property == QLatin1String("BandWidth"))
        return kBandWidthRange;
    return TTimedTransitionEffect::PropertyRange(property);
}

void TWipeTransition::Assign(const QObject *source)
{
    TTimedTransitionEffect::Assign(source);
    if (const auto *wipe = qobject_cast<const TWipeTransition *>(source))
        SetBandWidth(wipe->BandWidth());
}

QString TWipeTransition::GetDescription() const
{
    return QStringLiteral("Wipe");
}

QString TWipeTransition::GetEditorName() const
{
    return QStringLiteral("TWipeTransitionEditor");
}

bool TWipeTransition::NeedSrcImage() const
{
    return BandWidth() > 0;
}

bool TWipeTransition::AllowSrcRendering() const
{
    return false;
}

bool TWipeTransition::NeedWorkBitmap() const
{
    return BandWidth() > 0;
}

void TWipeTransition::Initialize(PassData &data, int &frameCount)
{
    const int w = data.width;
    const int h = data.height;
    dir_ = GetDirectionToUse();
    bw_ = BandWidth();
    maskX_ = maskY_ = 0;
    band_ = {};
    onCanvas_ = false;

    if (bw_ == 0) {
        mask_.Clear();
    } else {
        using lumetta::BandAxis;
        const BandAxis axis = dir_ == tedRight || dir_ == tedLeft ? BandAxis::Columns : BandAxis::Rows;
        const bool newSideFirst = dir_ == tedRight || dir_ == tedDown;
        if (!mask_.Fits(axis, newSideFirst, lumetta::BandMask::SizeFor(axis, bw_, w, h)))
            mask_.Build(axis, newSideFirst, bw_, w, h);
        // The band is a function of the two pictures alone, so it is composed straight onto the
        // canvas when it can be: no second copy per frame.
        onCanvas_ = CanDrawOnCanvas(data);
        CopyRect(Target(data), *data.srcBmp, QRect(0, 0, w, h));
    }
    offscreen = !onCanvas_;

    const int bw = bw_;
    switch (dir_) {
    case tedRight:
        frames_ = w + bw;
        uncovered_ = {1 - bw, 0, -bw, h};
        band_ = {uncovered_.right + 1, 0, uncovered_.right + 1 + bw, h};
        break;
    case tedLeft:
        frames_ = w + bw;
        uncovered_ = {w + bw, 0, w + bw, h};
        band_ = {uncovered_.left - bw - 1, 0, uncovered_.right - 1, h};
        break;
    case tedDown:
        frames_ = h + bw;
        uncovered_ = {0, -bw, w, -bw};
        band_ = {0, uncovered_.bottom + 1, w, uncovered_.bottom + 1 + bw};
        break;
    case tedUp:
        frames_ = h + bw;
        uncovered_ = {0, h + bw, w, h + bw};
        band_ = {0, uncovered_.top - bw - 1, w, uncovered_.bottom - 1};
        break;
    case tedDownRight:
        frames_ = w + h;
        uncovered_ = {0, 0, 0, 0};
        break;
    case tedDownLeft:
        frames_ = std::max(w, h);
        uncovered_ = {w, 0, w, 0};
        break;
    case tedUpRight:
        frames_ = std::max(w, h);
        uncovered_ = {0, h, 0, h};
        break;
    case tedUpLeft:
        frames_ = std::max(w, h);
        uncovered_ = {w, h, w, h};
        break;
    case tedIn:
        frames_ = std::max(w, h) / 2;
        uncovered_ = {0, 0, w, h};
        break;
    case tedOut:
    default:
        frames_ = std::max(w, h) / 2;
        uncovered_ = {w / 2, h / 2, w / 2, h / 2};
        break;
    }
    frameCount = frames_;
}

void TWipeTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    if (IsStraight(dir_))
        DrawStraight(data, step);
    else if (dir_ == tedIn || dir_ == tedOut)
        DrawInOut(data, currentFrame);
    else
        DrawCorner(data, currentFrame);
}

void TWipeTransition::DrawStraight(PassData &data, int step)
{
    HalfOpenRect &u = uncovered_;
    const bool band = bw_ > 0;
    switch (dir_) {
    case tedRight:
        u.left = u.right;
        u.right += step;
        if (band) {
            band_.left = u.right + 1;
            band_.right = band_.left + bw_;
            maskY_ = lumetta::Random(lumetta::kBandMaskSlack);
        }
        break;
    case tedLeft:
        u.right = u.left;
        u.left -= step;
        if (band) {
            band_.right = u.left - 1;
            band_.left = band_.right - bw_;
            maskY_ = lumetta::Random(lumetta::kBandMaskSlack);
        }
        break;
    case tedDown:
        u.top = u.bottom;
        u.bottom += step;
        if (band) {
            band_.top = u.bottom + 1;
            band_.bottom = band_.top + bw_;
            maskX_ = lumetta::Random(lumetta::kBandMaskSlack);
        }
        break;
    default:
        u.bottom = u.top;
        u.top -= step;
        if (band) {
            band_.bottom = u.top - 1;
            band_.top = band_.bottom - bw_;
            maskX_ = lumetta::Random(lumetta::kBandMaskSlack);
        }
        break;
    }

    if (!band) {
        CopyNew(data, u);
        return;
    }
    // The strip takes its right column and bottom row too, closing the seam to the band.
    const HalfOpenRect strip{u.left, u.top, u.right + 1, u.bottom + 1};
    mask_.Compose(ReadView(*data.srcBmp), ReadView(*data.dstBmp), WritableView(Target(data)), band_, maskX_, maskY_, strip);
    AddUpdate(data, band_);
    AddUpdate(data, strip);
}

void TWipeTransition::DrawCorner(PassData &data, int currentFrame)
{
    const int w = data.width;
    const int h = data.height;
    HalfOpenRect &u = uncovered_;
    const int x = Share(w, frames_, currentFrame);
    const int y = Share(h, frames_, currentFrame);
    const int xr = w - x;  // from the right edge
    const int yb = h - y;  // from the bottom edge
    // What was uncovered before already shows the new picture: the strips form an L around it.
    SetUnchanged(data, u);
    switch (dir_) {
    case tedDownRight:
        CopyNew(data, {0, u.bottom, x, y});
        CopyNew(data, {u.right, 0, x, u.bottom});
        u.right = x;
        u.bottom = y;
        break;
    case tedDownLeft:
        CopyNew(data, {xr, u.bottom, w, y});
        CopyNew(data, {xr, 0, u.left, u.bottom});
        u.left = xr;
        u.bottom = y;
        break;
    case tedUpRight:
        CopyNew(data, {0, yb, x, u.top});
        CopyNew(data, {u.right, u.top, x, h});
        u.right = x;
        u.top = yb;
        break;
    default:
        CopyNew(data, {xr, yb, w, u.top});
        CopyNew(data, {xr, u.top, u.left, h});
        u.left = xr;
        u.top = yb;
        break;
    }
}

void TWipeTransition::DrawInOut(PassData &data, int currentFrame)
{
    const int w = data.width;
    const int h = data.height;
    const HalfOpenRect r = uncovered_;
    int dx, dy;
    // The strips form a frame around a part that does not change: the rectangle still showing
    // the old picture when closing in, the one already showing the new picture when opening out.
    if (dir_ == tedIn) {
        dx = Share(w, frames_, currentFrame) / 2;
        dy = Share(h, frames_, currentFrame) / 2;
        CopyNew(data, {r.left, r.top, r.right, dy});
        CopyNew(data, {r.left, dy, dx, h - dy});
        CopyNew(data, {w - dx, dy, r.right, h - dy});
        CopyNew(data, {r.left, h - dy, r.right, r.bottom});
        SetUnchanged(data, {dx, dy, w - dx, h - dy});
    } else {
        dx = (w - Share(w, frames_, currentFrame)) / 2;
        dy = (h - Share(h, frames_, currentFrame)) / 2;
        CopyNew(data, {dx, dy, w - dx, r.top});
        CopyNew(data, {dx, r.top, r.left, h - dy});
        CopyNew(data, {r.right, r.top, w - dx, r.bottom});
        CopyNew(data, {dx, r.bottom, w - dx, h - dy});
        SetUnchanged(data, r);
    }
    uncovered_ = {dx, dy, w - dx, h - dy};
}

QImage &TWipeTransition::Target(PassData &data) const
{
    return onCanvas_ ? *data.canvas : *data.GetCanvas();
}

void TWipeTransition::CopyNew(PassData &data, const HalfOpenRect &r)
{
    CopyRect(*data.GetCanvas(), *data.dstBmp, QRectOrNull(r));
    AddUpdate(data, r);
}

void TWipeTransition::SetUnchanged(PassData &data, const HalfOpenRect &r)
{
    const HalfOpenRect clipped = lumetta::Intersect(r, {0, 0, data.width, data.height});
    unchangedRect = QRectOrNull(clipped);
}

void TWipeTransition::AddUpdate(PassData &data, const HalfOpenRect &r)
{
    const HalfOpenRect clipped = lumetta::Intersect(r, {0, 0, data.width, data.height});
    if (!clipped.IsEmpty())
        updateRect = updateRect.isNull() ? QRectOrNull(clipped) : updateRect.united(QRectOrNull(clipped));
}

}  // namespace lumetta
