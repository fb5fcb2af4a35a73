// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/drip_transition.h"

#include "transitions/core/kernels/drip_kernels.h"

namespace lumetta {

using lumetta::HalfOpenRect;

TDripTransition::TDripTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
{
    AllowedDirections.reset();
    for (EffectDirection d : {tedRight, tedLeft, tedDown, tedUp})
        AllowedDirections.set(std::size_t(d));
    SetDirection(tedLeft);
}

QString TDripTransition::GetDescription() const
{
    return QStringLiteral("Drip");
}

bool TDripTransition::NeedSrcImage() const
{
    return false;
}

bool TDripTransition::NeedWorkBitmap() const
{
    const EffectDirection d = GetDirectionToUse();
    return d == tedDown || d == tedUp;
}

bool TDripTransition::FirstPassAnimated() const
{
    return false;
}

void TDripTransition::Initialize(PassData &Data, int &FrameCount)
{
    const int W = Data.Width;
    const int H = Data.Height;
    dir_ = GetDirectionToUse();
    remaining_ = {0, 0, W, H};
    // Every frame rewrites all it changes from the new picture alone, so it needs no work bitmap
    // between it and the canvas: drawn there, a frame costs one write of its area, not two.
    onCanvas_ = CanDrawOnCanvas(Data);
    switch (dir_) {
    case tedRight:
        FrameCount = W;
        strip_ = {W, 0, W, H};
        break;
    case tedLeft:
        FrameCount = W;
        strip_ = {0, 0, 0, H};
        break;
    case tedDown:
        FrameCount = H;
        strip_ = {0, H, W, H};
        break;
    default:
        FrameCount = H;
        strip_ = {0, 0, W, 0};
        break;
    }
}

void TDripTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    HalfOpenRect &s = strip_;
    HalfOpenRect &r = remaining_;
    switch (dir_) {
    case tedRight:
        s.Right = s.Left;
        s.Left -= Step;
        r.Right = s.Left;
        break;
    case tedLeft:
        s.Left = s.Right;
        s.Right += Step;
        r.Left = s.Right;
        break;
    case tedDown:
        s.Bottom = s.Top;
        s.Top -= Step;
        r.Bottom = s.Top;
        break;
    default:
        s.Top = s.Bottom;
        s.Bottom += Step;
        r.Top = s.Bottom;
        break;
    }

    QImage &canvas = onCanvas_ ? *Data.Canvas : *Data.GetCanvas();
    FrameOnCanvas = onCanvas_;
    CopyRect(canvas, *Data.DstBmp, s.ToQRect());
    if (dir_ == tedRight || dir_ == tedLeft)
        lumetta::SmearColumn(*Data.DstBmp, s.Left, canvas, r);
    else
        lumetta::SmearRow(*Data.DstBmp, s.Top, canvas, r.Top, r.Bottom);
    const HalfOpenRect changed = lumetta::Intersect(lumetta::Union(s, r), {0, 0, Data.Width, Data.Height});
    if (!changed.IsEmpty())
        UpdateRect = UpdateRect.isNull() ? changed.ToQRect() : UpdateRect.united(changed.ToQRect());
}

}  // namespace lumetta
