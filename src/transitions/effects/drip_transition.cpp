// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/drip_transition.h"

#include "transitions/core/kernels/drip_kernels.h"
#include "transitions/engine/core_conversions.h"

namespace lumetta {

using lumetta::HalfOpenRect;

TDripTransition::TDripTransition(QObject *owner) : TTimedTransitionEffect(owner)
{
    allowedDirections.reset();
    for (EffectDirection d : {tedRight, tedLeft, tedDown, tedUp})
        allowedDirections.set(std::size_t(d));
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

void TDripTransition::Initialize(PassData &data, int &frameCount)
{
    const int w = data.width;
    const int h = data.height;
    dir_ = GetDirectionToUse();
    remaining_ = {0, 0, w, h};
    // Every frame rewrites all it changes from the new picture alone, so it needs no work bitmap
    // between it and the canvas: drawn there, a frame costs one write of its area, not two.
    onCanvas_ = CanDrawOnCanvas(data);
    switch (dir_) {
    case tedRight:
        frameCount = w;
        strip_ = {w, 0, w, h};
        break;
    case tedLeft:
        frameCount = w;
        strip_ = {0, 0, 0, h};
        break;
    case tedDown:
        frameCount = h;
        strip_ = {0, h, w, h};
        break;
    default:
        frameCount = h;
        strip_ = {0, 0, w, 0};
        break;
    }
}

void TDripTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    HalfOpenRect &s = strip_;
    HalfOpenRect &r = remaining_;
    switch (dir_) {
    case tedRight:
        s.right = s.left;
        s.left -= step;
        r.right = s.left;
        break;
    case tedLeft:
        s.left = s.right;
        s.right += step;
        r.left = s.right;
        break;
    case tedDown:
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

    QImage &canvas = onCanvas_ ? *data.canvas : *data.GetCanvas();
    frameOnCanvas = onCanvas_;
    CopyRect(canvas, *data.dstBmp, QRectOrNull(s));
    if (dir_ == tedRight || dir_ == tedLeft)
        lumetta::SmearColumn(ReadView(*data.dstBmp), s.left, WritableView(canvas), r);
    else
        lumetta::SmearRow(ReadView(*data.dstBmp), s.top, WritableView(canvas), r.top, r.bottom);
    const HalfOpenRect changed = lumetta::Intersect(lumetta::Union(s, r), {0, 0, data.width, data.height});
    if (!changed.IsEmpty())
        updateRect = updateRect.isNull() ? QRectOrNull(changed) : updateRect.united(QRectOrNull(changed));
}

}  // namespace lumetta
