// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/block_transition.h"

#include "transitions/core/shapes/mask_paint.h"
#include "transitions/engine/core_conversions.h"

#include <algorithm>

using namespace lumetta;

TBlockTransition::TBlockTransition(QObject *owner) : TMaskedTransition(owner)
{
    styleCount_ = 4;
}

TBlockTransition::~TBlockTransition() = default;

void TBlockTransition::SetCols(int value)
{
    if (value == cols_)
        return;
    cols_ = std::clamp(value, 1, kGridRange.maximum);
    blockWidth_ = 0;
}

void TBlockTransition::SetRows(int value)
{
    if (value == rows_)
        return;
    rows_ = std::clamp(value, 1, kGridRange.maximum);
    blockHeight_ = 0;
}

void TBlockTransition::SetBlockWidth(int value)
{
    if (value == blockWidth_)
        return;
    blockWidth_ = std::clamp(value, 1, kGridRange.maximum);
    cols_ = 0;
}

void TBlockTransition::SetBlockHeight(int value)
{
    if (value == blockHeight_)
        return;
    blockHeight_ = std::clamp(value, 1, kGridRange.maximum);
    rows_ = 0;
}

std::optional<ValueRange> TBlockTransition::PropertyRange(const QString &property) const
{
    if (property == QLatin1String("Cols") || property == QLatin1String("Rows")
        || property == QLatin1String("BlockWidth") || property == QLatin1String("BlockHeight"))
        return kGridRange;
    return TMaskedTransition::PropertyRange(property);
}

void TBlockTransition::Assign(const QObject *source)
{
    TMaskedTransition::Assign(source);
    const auto *other = qobject_cast<const TBlockTransition *>(source);
    if (!other)
        return;
    SetPuzzle(other->Puzzle());
    if (other->Rows() != 0)
        SetRows(other->Rows());
    else
        SetBlockHeight(other->BlockHeight());
    if (other->Cols() != 0)
        SetCols(other->Cols());
    else
        SetBlockWidth(other->BlockWidth());
}

QString TBlockTransition::GetDescription() const
{
    return QStringLiteral("Blocks");
}

QString TBlockTransition::GetEditorName() const
{
    return QStringLiteral("TBlockTransitionEditor");
}

int TBlockTransition::SubStyleCount(int style) const
{
    return BlockSubStyleCount(style);
}

int TBlockTransition::ReversedSubStyle(int style, int subStyle) const
{
    return BlockReversedSubStyle(style, subStyle);
}

void TBlockTransition::Initialize(PassData &data, int &frameCount)
{
    TMaskedTransition::Initialize(data, frameCount);
    const int style = GetStyleToUse();
    const int subStyle = GetSubStyleToUse();
    frameCount =
        shape_.Begin(data.width, data.height, cols_, rows_, blockWidth_, blockHeight_, puzzle_, style, subStyle);
}

void TBlockTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    // A single plain block goes straight onto the canvas; anything more is composed through the mask.
    offscreen = puzzle_ || step > 1;
    TMaskedTransition::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    if (offscreen && Mask())
        ClearMask(Mask()->View());
}

void TBlockTransition::DrawMask(const PixelView &mask, int, int step, int, int, PassData &data, bool &whiteIsNew)
{
    whiteIsNew = true;
    if (!offscreen) {
        DrawDirect(data);
        return;
    }
    // A frame's blocks lie scattered over the picture: only they are copied to the canvas and
    // shown, not the box around them. Single pixels are too many for a region.
    const bool keepBlocks = !shape_.PixelBlocks() && step > 1 && step <= kMaxRegionBlocks;
    blocks_.clear();
    updateRect = QRectOrNull(shape_.PaintMask(mask, step, keepBlocks ? &blocks_ : nullptr));
    if (keepBlocks) {
        QRegion region;
        for (const HalfOpenRect &block : blocks_)
            region += QRectOf(block);
        frameRegion = region;
    }
}

// The block goes onto the canvas and into the work bitmap alike: later composed frames copy
// whole update rectangles from the work bitmap, which must not bring the old picture back.
void TBlockTransition::DrawDirect(PassData &data)
{
    const QRect r = QRectOf(shape_.NextBlock());
    CopyRect(*data.canvas, *data.dstBmp, r);
    if (data.bitmap && data.bitmap != data.canvas)
        CopyRect(*data.bitmap, *data.dstBmp, r);
    updateRect = r;
}

void TBlockTransition::Finalize(PassData &data)
{
    shape_.End();
    TMaskedTransition::Finalize(data);
}
