// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/masked_transition.h"

#include "common/random.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/engine/core_conversions.h"

namespace lumetta {

TMaskedTransition::TMaskedTransition(QObject *owner) : TTimedTransitionEffect(owner)
{
}

TMaskedTransition::~TMaskedTransition() = default;

void TMaskedTransition::Assign(const QObject *source)
{
    TTimedTransitionEffect::Assign(source);
    if (auto *masked = qobject_cast<const TMaskedTransition *>(source)) {
        SetStyle(masked->Style());
        SetSubStyle(masked->SubStyle());
    }
}

int TMaskedTransition::GetBitmapsWidth(int width) const
{
    return lumetta::MaskedBitmapWidth(width);
}

bool TMaskedTransition::AllowSrcRendering() const
{
    return false;
}

bool TMaskedTransition::NeedWorkBitmap() const
{
    return true;
}

bool TMaskedTransition::WorkOnSrcBitmap() const
{
    return true;
}

QString TMaskedTransition::GetEditorName() const
{
    return QStringLiteral("TMaskedTransitionEditor");
}

int TMaskedTransition::ReversedSubStyle(int, int subStyle) const
{
    return subStyle;
}

bool TMaskedTransition::UsesDeltaMask() const
{
    return false;
}

bool TMaskedTransition::ClearsMaskEachFrame() const
{
    return false;
}

int TMaskedTransition::SubStyleCount(int style) const
{
    return style != 0 ? 1 : 0;
}

bool TMaskedTransition::DrawsRuns() const
{
    return false;
}

void TMaskedTransition::DrawRuns(NewPixelRuns &, int, int, int, int, PassData &)
{
}

void TMaskedTransition::SetStyle(int value)
{
    value = kStyleRange.Clamp(value);
    if (value == style_)
        return;
    style_ = value;
    SetSubStyle(value != 0 ? 1 : 0);
}

void TMaskedTransition::SetSubStyle(int value)
{
    subStyle_ = kStyleRange.Clamp(value);
}

std::optional<ValueRange> TMaskedTransition::PropertyRange(const QString &property) const
{
    if (property == QLatin1String("Style") || property == QLatin1String("SubStyle"))
        return kStyleRange;
    return TTimedTransitionEffect::PropertyRange(property);
}

int TMaskedTransition::GetStyleToUse()
{
    if (style_ != 0)
        return style_;
    if (randomStyle_ == 0)
        randomStyle_ = lumetta::Random(styleCount_) + 1;
    return randomStyle_;
}

int TMaskedTransition::GetSubStyleToUse()
{
    int subStyle = subStyle_;
    if (subStyle == 0) {
        if (randomSubStyle_ == 0)
            randomSubStyle_ = lumetta::Random(SubStyleCount(GetStyleToUse())) + 1;
        subStyle = randomSubStyle_;
    }
    return GetReversedToUse() ? ReversedSubStyle(GetStyleToUse(), subStyle) : subStyle;
}

void TMaskedTransition::Initialize(PassData &data, int &)
{
    lumetta::Randomize();
    masked_.Begin(data.width, data.height, UsesDeltaMask());
    if (data.bitmap && data.srcBmp && data.bitmap != data.srcBmp)
        CopyRect(*data.bitmap, *data.srcBmp, data.srcBmp->rect());
    runs_.reset();
    if (DrawsRuns() && !lumetta::ReferenceKernels()) {
        runs_.emplace();
        // The frame's region is only needed to show it on a screen.
        if (!runs_->Begin(data, data.renderWindow != nullptr))
            runs_.reset();
    }
}

void TMaskedTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    const QRect area(0, 0, data.width, data.height);
    bool whiteIsNew = false;
    if (offscreen && runs_) {
        updateRect = area;
        DrawRuns(*runs_, currentFrame, step, frameCount, prevFrame, data);
        updateRect = updateRect.intersected(area);
        // The runs went straight into the pictures: the frame changed just them.
        frameOnCanvas = runs_->OnCanvas();
        frameRegion = runs_->TakeRegion();
        return;
    }
    if (offscreen) {
        updateRect = area;
        DrawMask(Mask()->View(), currentFrame, step, frameCount, prevFrame, data, whiteIsNew);
        updateRect = updateRect.intersected(area);
        masked_.Prepare(whiteIsNew);
        Combine(data);
    } else {
        DrawMask(Mask()->View(), currentFrame, step, frameCount, prevFrame, data, whiteIsNew);
    }
    if (ClearsMaskEachFrame())
        masked_.ClearMask();
}

void TMaskedTransition::Combine(PassData &data)
{
    if (!data.bitmap || !data.dstBmp || updateRect.isEmpty())
        return;
    // The work bitmap is taken for writing first: when it is the old picture too, both then read
    // the same memory and the rows combine in place.
    const PixelView work = WritableView(*data.bitmap);
    const ConstPixelView oldPicture = data.srcBmp ? ReadView(*data.srcBmp) : ConstPixelView{};
    masked_.Combine(updateRect.y(), updateRect.y() + updateRect.height(), ReadView(*data.dstBmp), oldPicture, work);
}

void TMaskedTransition::Finalize(PassData &data)
{
    runs_.reset();
    masked_.End();
    if (GetPassCount() == 1 || !FirstPassAnimated() || InSecondPass()) {
        randomStyle_ = 0;
        randomSubStyle_ = 0;
    }
    TTimedTransitionEffect::Finalize(data);
}

}  // namespace lumetta
