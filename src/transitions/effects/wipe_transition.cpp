// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/wipe_transition.h"

#include "common/arith.h"
#include "common/random.h"

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

TWipeTransition::TWipeTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
{
    AllowedDirections.reset();
    for (int d = tedRight; d <= tedOut; ++d)
        AllowedDirections.set(std::size_t(d));
    SetDirection(tedRight);
}

int TWipeTransition::BandWidth() const
{
    return IsStraight(GetDirectionToUse()) ? bandWidth_ : 0;
}

void TWipeTransition::SetBandWidth(int value)
{
    bandWidth_ = BandWidthRange.Clamp(value);
}

std::optional<ValueRange> TWipeTransition::PropertyRange(const QString &Property) const
{
    if (Property == QLatin1String("BandWidth"))
        return BandWidthRange;
    return TTimedTransitionEffect::PropertyRange(Property);
}

void TWipeTransition::Assign(const QObject *Source)
{
    TTimedTransitionEffect::Assign(Source);
    if (const auto *wipe = qobject_cast<const TWipeTransition *>(Source))
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

void TWipeTransition::Initialize(PassData &Data, int &FrameCount)
{
    const int W = Data.Width;
    const int H = Data.Height;
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
        if (!mask_.Fits(axis, newSideFirst, lumetta::BandMask::SizeFor(axis, bw_, W, H)))
            mask_.Build(axis, newSideFirst, bw_, W, H);
        // The band is a function of the two pictures alone, so it is composed straight onto the
        // canvas when it can be: no second copy per frame.
        onCanvas_ = CanDrawOnCanvas(Data);
        CopyRect(Target(Data), *Data.SrcBmp, QRect(0, 0, W, H));
    }
    Offscreen = !onCanvas_;

    const int bw = bw_;
    switch (dir_) {
    case tedRight:
        frames_ = W + bw;
        uncovered_ = {1 - bw, 0, -bw, H};
        band_ = {uncovered_.Right + 1, 0, uncovered_.Right + 1 + bw, H};
        break;
    case tedLeft:
        frames_ = W + bw;
        uncovered_ = {W + bw, 0, W + bw, H};
        band_ = {uncovered_.Left - bw - 1, 0, uncovered_.Right - 1, H};
        break;
    case tedDown:
        frames_ = H + bw;
        uncovered_ = {0, -bw, W, -bw};
        band_ = {0, uncovered_.Bottom + 1, W, uncovered_.Bottom + 1 + bw};
        break;
    case tedUp:
        frames_ = H + bw;
        uncovered_ = {0, H + bw, W, H + bw};
        band_ = {0, uncovered_.Top - bw - 1, W, uncovered_.Bottom - 1};
        break;
    case tedDownRight:
        frames_ = W + H;
        uncovered_ = {0, 0, 0, 0};
        break;
    case tedDownLeft:
        frames_ = std::max(W, H);
        uncovered_ = {W, 0, W, 0};
        break;
    case tedUpRight:
        frames_ = std::max(W, H);
        uncovered_ = {0, H, 0, H};
        break;
    case tedUpLeft:
        frames_ = std::max(W, H);
        uncovered_ = {W, H, W, H};
        break;
    case tedIn:
        frames_ = std::max(W, H) / 2;
        uncovered_ = {0, 0, W, H};
        break;
    case tedOut:
    default:
        frames_ = std::max(W, H) / 2;
        uncovered_ = {W / 2, H / 2, W / 2, H / 2};
        break;
    }
    FrameCount = frames_;
}

void TWipeTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    if (IsStraight(dir_))
        DrawStraight(Data, Step);
    else if (dir_ == tedIn || dir_ == tedOut)
        DrawInOut(Data, CurrentFrame);
    else
        DrawCorner(Data, CurrentFrame);
}

void TWipeTransition::DrawStraight(PassData &Data, int Step)
{
    HalfOpenRect &u = uncovered_;
    const bool band = bw_ > 0;
    switch (dir_) {
    case tedRight:
        u.Left = u.Right;
        u.Right += Step;
        if (band) {
            band_.Left = u.Right + 1;
            band_.Right = band_.Left + bw_;
            maskY_ = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    case tedLeft:
        u.Right = u.Left;
        u.Left -= Step;
        if (band) {
            band_.Right = u.Left - 1;
            band_.Left = band_.Right - bw_;
            maskY_ = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    case tedDown:
        u.Top = u.Bottom;
        u.Bottom += Step;
        if (band) {
            band_.Top = u.Bottom + 1;
            band_.Bottom = band_.Top + bw_;
            maskX_ = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    default:
        u.Bottom = u.Top;
        u.Top -= Step;
        if (band) {
            band_.Bottom = u.Top - 1;
            band_.Top = band_.Bottom - bw_;
            maskX_ = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    }

    if (!band) {
        CopyNew(Data, u);
        return;
    }
    // The strip takes its right column and bottom row too, closing the seam to the band.
    const HalfOpenRect strip{u.Left, u.Top, u.Right + 1, u.Bottom + 1};
    mask_.Compose(*Data.SrcBmp, *Data.DstBmp, Target(Data), band_, maskX_, maskY_, strip);
    AddUpdate(Data, band_);
    AddUpdate(Data, strip);
}

void TWipeTransition::DrawCorner(PassData &Data, int CurrentFrame)
{
    const int W = Data.Width;
    const int H = Data.Height;
    HalfOpenRect &u = uncovered_;
    const int x = Share(W, frames_, CurrentFrame);
    const int y = Share(H, frames_, CurrentFrame);
    const int xr = W - x;  // from the right edge
    const int yb = H - y;  // from the bottom edge
    // What was uncovered before already shows the new picture: the strips form an L around it.
    SetUnchanged(Data, u);
    switch (dir_) {
    case tedDownRight:
        CopyNew(Data, {0, u.Bottom, x, y});
        CopyNew(Data, {u.Right, 0, x, u.Bottom});
        u.Right = x;
        u.Bottom = y;
        break;
    case tedDownLeft:
        CopyNew(Data, {xr, u.Bottom, W, y});
        CopyNew(Data, {xr, 0, u.Left, u.Bottom});
        u.Left = xr;
        u.Bottom = y;
        break;
    case tedUpRight:
        CopyNew(Data, {0, yb, x, u.Top});
        CopyNew(Data, {u.Right, u.Top, x, H});
        u.Right = x;
        u.Top = yb;
        break;
    default:
        CopyNew(Data, {xr, yb, W, u.Top});
        CopyNew(Data, {xr, u.Top, u.Left, H});
        u.Left = xr;
        u.Top = yb;
        break;
    }
}

void TWipeTransition::DrawInOut(PassData &Data, int CurrentFrame)
{
    const int W = Data.Width;
    const int H = Data.Height;
    const HalfOpenRect r = uncovered_;
    int dx, dy;
    // The strips form a frame around a part that does not change: the rectangle still showing
    // the old picture when closing in, the one already showing the new picture when opening out.
    if (dir_ == tedIn) {
        dx = Share(W, frames_, CurrentFrame) / 2;
        dy = Share(H, frames_, CurrentFrame) / 2;
        CopyNew(Data, {r.Left, r.Top, r.Right, dy});
        CopyNew(Data, {r.Left, dy, dx, H - dy});
        CopyNew(Data, {W - dx, dy, r.Right, H - dy});
        CopyNew(Data, {r.Left, H - dy, r.Right, r.Bottom});
        SetUnchanged(Data, {dx, dy, W - dx, H - dy});
    } else {
        dx = (W - Share(W, frames_, CurrentFrame)) / 2;
        dy = (H - Share(H, frames_, CurrentFrame)) / 2;
        CopyNew(Data, {dx, dy, W - dx, r.Top});
        CopyNew(Data, {dx, r.Top, r.Left, H - dy});
        CopyNew(Data, {r.Right, r.Top, W - dx, r.Bottom});
        CopyNew(Data, {dx, r.Bottom, W - dx, H - dy});
        SetUnchanged(Data, r);
    }
    uncovered_ = {dx, dy, W - dx, H - dy};
}

QImage &TWipeTransition::Target(PassData &Data) const
{
    return onCanvas_ ? *Data.Canvas : *Data.GetCanvas();
}

void TWipeTransition::CopyNew(PassData &Data, const HalfOpenRect &r)
{
    CopyRect(*Data.GetCanvas(), *Data.DstBmp, r.ToQRect());
    AddUpdate(Data, r);
}

void TWipeTransition::SetUnchanged(PassData &Data, const HalfOpenRect &r)
{
    const HalfOpenRect clipped = lumetta::Intersect(r, {0, 0, Data.Width, Data.Height});
    UnchangedRect = clipped.IsEmpty() ? QRect() : clipped.ToQRect();
}

void TWipeTransition::AddUpdate(PassData &Data, const HalfOpenRect &r)
{
    const HalfOpenRect clipped = lumetta::Intersect(r, {0, 0, Data.Width, Data.Height});
    if (!clipped.IsEmpty())
        UpdateRect = UpdateRect.isNull() ? clipped.ToQRect() : UpdateRect.united(clipped.ToQRect());
}

}  // namespace lumetta
