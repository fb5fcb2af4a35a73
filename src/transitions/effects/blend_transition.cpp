// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"

#include "transitions/engine/core_conversions.h"

namespace lumetta {

TBlendTransition::TBlendTransition(QObject *owner) : TTimedTransitionEffect(owner)
{
}

QString TBlendTransition::GetDescription() const
{
    return QStringLiteral("Alpha blend");
}

bool TBlendTransition::AllowSrcRendering() const
{
    return false;
}

bool TBlendTransition::NeedWorkBitmap() const
{
    return true;
}

bool TBlendTransition::WorkOnSrcBitmap() const
{
    return ScreenBitsPerPixel() <= 8;
}

void TBlendTransition::Initialize(PassData &data, int &frameCount)
{
    frameCount = frames_.Begin(PixelLayoutOf(ImageFormatOf(data.pixelFormat)), !data.highColor);
    onCanvas_ = CanDrawOnCanvas(data);
    offscreen = !onCanvas_;
    // The dissolve only adds cells, so its target starts as the old picture; a mix writes every
    // word of the area each frame and needs no start.
    QImage &target = onCanvas_ ? *data.canvas : *data.bitmap;
    if (frames_.Dissolves() && &target != data.srcBmp)
        CopyRect(target, *data.srcBmp, data.srcBmp->rect());
}

void TBlendTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    QImage &work = onCanvas_ ? *data.canvas : *data.GetCanvas();
    frames_.Draw(currentFrame, ReadView(*data.srcBmp), ReadView(*data.dstBmp), WritableView(work));
    updateRect = QRect(0, 0, data.width, data.height);
}

void TBlendTransition::Finalize(PassData &)
{
    onCanvas_ = false;
    offscreen = true;
}

}  // namespace lumetta
