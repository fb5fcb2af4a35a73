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
void applyDeltaMask(QImage &mask, QImage &prev)
{
    uchar *m = mask.bits();
    uchar *p = prev.bits();
    const qsizetype bytes = std::min(mask.sizeInBytes(), prev.sizeInBytes());
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
lumetta::MaskPlane readPlane(const QImage *image)
{
    if (!image)
        return {};
    return {const_cast<uchar *>(image->constBits()), std::intptr_t(image->bytesPerLine())};
}

}  // namespace

TMaskedTransition::TMaskedTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
{
}

TMaskedTransition::~TMaskedTransition() = default;

void TMaskedTransition::Assign(const QObject *Source)
{
    TTimedTransitionEffect::Assign(Source);
    if (auto *masked = qobject_cast<const TMaskedTransition *>(Source)) {
        SetStyle(masked->Style());
        SetSubStyle(masked->SubStyle());
    }
}

int TMaskedTransition::GetBitmapsWidth(int Width) const
{
    return lumetta::MaskedBitmapWidth(Width);
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

int TMaskedTransition::ReversedSubStyle(int, int SubStyle) const
{
    return SubStyle;
}

bool TMaskedTransition::UsesDeltaMask() const
{
    return false;
}

bool TMaskedTransition::ClearsMaskEachFrame() const
{
    return false;
}

int TMaskedTransition::SubStyleCount(int Style) const
{
    return Style != 0 ? 1 : 0;
}

bool TMaskedTransition::DrawsRuns() const
{
    return false;
}

void TMaskedTransition::DrawRuns(NewPixelRuns &, int, int, int, int, PassData &)
{
}

void TMaskedTransition::SetStyle(int Value)
{
    Value = StyleRange.Clamp(Value);
    if (Value == style_)
        return;
    style_ = Value;
    SetSubStyle(Value != 0 ? 1 : 0);
}

void TMaskedTransition::SetSubStyle(int Value)
{
    subStyle_ = StyleRange.Clamp(Value);
}

std::optional<ValueRange> TMaskedTransition::PropertyRange(const QString &Property) const
{
    if (Property == QLatin1String("Style") || Property == QLatin1String("SubStyle"))
        return StyleRange;
    return TTimedTransitionEffect::PropertyRange(Property);
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

void TMaskedTransition::Initialize(PassData &Data, int &)
{
    lumetta::Randomize();
    mask_ = std::make_unique<QImage>(lumetta::CreateMask(Data.Width, Data.Height));
    if (UsesDeltaMask())
        prevMask_ = std::make_unique<QImage>(lumetta::CreateMask(Data.Width, Data.Height));
    if (Data.Bitmap && Data.SrcBmp && Data.Bitmap != Data.SrcBmp)
        CopyRect(*Data.Bitmap, *Data.SrcBmp, Data.SrcBmp->rect());
    runs_.reset();
    if (DrawsRuns() && !lumetta::ReferenceKernels()) {
        runs_.emplace();
        // The frame's region is only needed to show it on a screen.
        if (!runs_->Begin(Data, Data.RenderWindow != nullptr))
            runs_.reset();
    }
}

void TMaskedTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    const QRect area(0, 0, Data.Width, Data.Height);
    bool whiteIsNew = false;
    if (Offscreen && runs_) {
        UpdateRect = area;
        DrawRuns(*runs_, CurrentFrame, Step, FrameCount, PrevFrame, Data);
        UpdateRect = UpdateRect.intersected(area);
        // The runs went straight into the pictures: the frame changed just them.
        FrameOnCanvas = runs_->OnCanvas();
        FrameRegion = runs_->TakeRegion();
        return;
    }
    if (Offscreen) {
        UpdateRect = area;
        DrawMask(*mask_, CurrentFrame, Step, FrameCount, PrevFrame, Data, whiteIsNew);
        UpdateRect = UpdateRect.intersected(area);
        if (!whiteIsNew)
            lumetta::InvertMask(*mask_);
        if (prevMask_)
            applyDeltaMask(*mask_, *prevMask_);
        Combine(Data);
    } else {
        DrawMask(*mask_, CurrentFrame, Step, FrameCount, PrevFrame, Data, whiteIsNew);
    }
    if (ClearsMaskEachFrame())
        lumetta::ClearMask(*mask_);
}

void TMaskedTransition::Combine(PassData &Data)
{
    if (!Data.Bitmap || !Data.DstBmp || UpdateRect.isEmpty())
        return;
    const int bpp = PixelFormatBits(Data.PixelFormat);
    const int storage = bpp == 15 ? 16 : bpp;
    // pf1bit and pfDevice combine nothing; bitmaps of another depth would be overrun.
    if (bpp < 4 || Data.Bitmap->depth() != storage || Data.DstBmp->depth() != storage
        || (Data.SrcBmp && Data.SrcBmp->depth() != storage))
        return;
    const int width = std::min({mask_->width(), Data.Bitmap->width(), Data.DstBmp->width(),
                                Data.SrcBmp ? Data.SrcBmp->width() : mask_->width()});
    const int bottom = std::min({UpdateRect.y() + UpdateRect.height(), mask_->height(), Data.Bitmap->height(),
                                 Data.DstBmp->height(), Data.SrcBmp ? Data.SrcBmp->height() : mask_->height()});
    const lumetta::MaskPlane work{Data.Bitmap->bits(), std::intptr_t(Data.Bitmap->bytesPerLine())};
    lumetta::CombineMaskedRows(readPlane(mask_.get()), readPlane(Data.DstBmp), readPlane(Data.SrcBmp), work, width,
                               UpdateRect.y(), bottom, bpp);
}

void TMaskedTransition::Finalize(PassData &Data)
{
    runs_.reset();
    mask_.reset();
    prevMask_.reset();
    if (GetPassCount() == 1 || !FirstPassAnimated() || InSecondPass()) {
        randomStyle_ = 0;
        randomSubStyle_ = 0;
    }
    TTimedTransitionEffect::Finalize(Data);
}

}  // namespace lumetta
