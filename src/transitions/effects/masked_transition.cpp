// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/masked_transition.h"

#include "common/random.h"
#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/shapes/mask_paint.h"

#include <algorithm>
#include <cstring>

namespace lumetta {

namespace {

// prev |= mask and mask &= ~old prev, word by word: the mask keeps only newly set pixels.
void ApplyDeltaMask(MonoBitmap &mask, MonoBitmap &prev)
{
    uchar *m = mask.Bits();
    uchar *p = prev.Bits();
    const auto bytes = qsizetype(std::min(mask.SizeInBytes(), prev.SizeInBytes()));
    qsizetype i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t mw, pw;
        std::memcpy(&mw, m + i, 8);
        std::memcpy(&pw, p + i, 8);
        const std::uint64_t fresh = mw & ~pw;
        pw |= mw;
        std::memcpy(m + i, &fresh, 8);
        std::memcpy(p + i, &pw, 8);
    }
    for (; i < bytes; ++i) {
        const uchar fresh = uchar(m[i] & ~p[i]);
        p[i] = uchar(p[i] | m[i]);
        m[i] = fresh;
    }
}

// Read-only planes use constBits so that shared image data is never detached per frame.
lumetta::MaskPlane ReadPlane(const QImage *image)
{
    if (!image)
        return {};
    return {const_cast<uchar *>(image->constBits()), std::intptr_t(image->bytesPerLine())};
}

lumetta::MaskPlane ReadPlane(const MonoBitmap &bitmap)
{
    return {const_cast<uchar *>(bitmap.Bits()), std::intptr_t(bitmap.Stride())};
}

}  // namespace

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
    mask_ = std::make_unique<MonoBitmap>(lumetta::CreateMask(data.width, data.height));
    if (UsesDeltaMask())
        prevMask_ = std::make_unique<MonoBitmap>(lumetta::CreateMask(data.width, data.height));
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
        DrawMask(mask_->View(), currentFrame, step, frameCount, prevFrame, data, whiteIsNew);
        updateRect = updateRect.intersected(area);
        if (!whiteIsNew)
            lumetta::InvertMask(mask_->View());
        if (prevMask_)
            ApplyDeltaMask(*mask_, *prevMask_);
        Combine(data);
    } else {
        DrawMask(mask_->View(), currentFrame, step, frameCount, prevFrame, data, whiteIsNew);
    }
    if (ClearsMaskEachFrame())
        lumetta::ClearMask(mask_->View());
}

void TMaskedTransition::Combine(PassData &data)
{
    if (!data.bitmap || !data.dstBmp || updateRect.isEmpty())
        return;
    const int bpp = PixelFormatBits(data.pixelFormat);
    const int storage = bpp == 15 ? 16 : bpp;
    // pf1bit and pfDevice combine nothing; bitmaps of another depth would be overrun.
    if (bpp < 4 || data.bitmap->depth() != storage || data.dstBmp->depth() != storage
        || (data.srcBmp && data.srcBmp->depth() != storage))
        return;
    const int width = std::min({mask_->Width(), data.bitmap->width(), data.dstBmp->width(),
                                data.srcBmp ? data.srcBmp->width() : mask_->Width()});
    const int bottom = std::min({updateRect.y() + updateRect.height(), mask_->Height(), data.bitmap->height(),
                                 data.dstBmp->height(), data.srcBmp ? data.srcBmp->height() : mask_->Height()});
    const lumetta::MaskPlane work{data.bitmap->bits(), std::intptr_t(data.bitmap->bytesPerLine())};
    lumetta::CombineMaskedRows(ReadPlane(*mask_), ReadPlane(data.dstBmp), ReadPlane(data.srcBmp), work, width,
                               updateRect.y(), bottom, bpp);
}

void TMaskedTransition::Finalize(PassData &data)
{
    runs_.reset();
    mask_.reset();
    prevMask_.reset();
    if (GetPassCount() == 1 || !FirstPassAnimated() || InSecondPass()) {
        randomStyle_ = 0;
        randomSubStyle_ = 0;
    }
    TTimedTransitionEffect::Finalize(data);
}

}  // namespace lumetta
