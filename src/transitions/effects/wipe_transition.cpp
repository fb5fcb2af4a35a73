// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/wipe_transition.h"

#include "transitions/engine/core_conversions.h"

namespace lumetta {

namespace {

bool IsStraight(TTransitionEffect::EffectDirection d)
{
    return d == TTransitionEffect::tedRight || d == TTransitionEffect::tedLeft || d == TTransitionEffect::tedDown
           || d == TTransitionEffect::tedUp;
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
    frameCount = frames_.Begin(GetTravelDirection(), BandWidth(), data.width, data.height);
    // The band is a function of the two pictures alone, so it is composed straight onto the
    // canvas when it can be: no second copy per frame.
    onCanvas_ = BandWidth() > 0 && CanDrawOnCanvas(data);
    if (BandWidth() > 0)
        CopyRect(Target(data), *data.srcBmp, QRect(0, 0, data.width, data.height));
    offscreen = !onCanvas_;
}

void TWipeTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    const ConstPixelView oldPicture = data.srcBmp ? ReadView(*data.srcBmp) : ConstPixelView{};
    const FrameChange change =
        frames_.Draw(currentFrame, step, oldPicture, ReadView(*data.dstBmp), WritableView(Target(data)));
    updateRect = QRectOrNull(change.update);
    unchangedRect = QRectOrNull(change.unchanged);
}

QImage &TWipeTransition::Target(PassData &data) const
{
    return onCanvas_ ? *data.canvas : *data.GetCanvas();
}

}  // namespace lumetta
