// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/drip_transition.h"

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
    // Every frame rewrites all it changes from the new picture alone, so it needs no work bitmap
    // between it and the canvas: drawn there, a frame costs one write of its area, not two.
    onCanvas_ = CanDrawOnCanvas(data);
    frameCount = frames_.Begin(GetTravelDirection(), data.width, data.height);
}

void TDripTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    QImage &canvas = onCanvas_ ? *data.canvas : *data.GetCanvas();
    frameOnCanvas = onCanvas_;
    const HalfOpenRect changed = frames_.Draw(step, ReadView(*data.dstBmp), WritableView(canvas));
    if (!changed.IsEmpty())
        updateRect = updateRect.isNull() ? QRectOrNull(changed) : updateRect.united(QRectOrNull(changed));
}

}  // namespace lumetta
