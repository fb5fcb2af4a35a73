// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/block_transition.h"

#include "common/random.h"
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/core/shapes/mono_paint.h"
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
    grid_.emplace(data.width, data.height, cols_, rows_, blockWidth_, blockHeight_, puzzle_);
    const int style = GetStyleToUse();
    const int subStyle = GetSubStyleToUse();
    // Styles outside 2..4 play the random order, which draws from a freshly seeded generator.
    if (style < 2 || style > 4)
        Randomize();
    order_.emplace(grid_->Cols(), grid_->Rows(), style, subStyle);
    if (puzzle_ && !grid_->PixelBlocks() && grid_->FrameCount() > 0)
        pieces_ = std::make_unique<PuzzlePieces>(*grid_);
    frameCount = grid_->FrameCount();
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
    QRect area;
    // A frame's blocks lie scattered over the picture: only they are copied to the canvas and
    // shown, not the box around them. Single pixels are too many for a region.
    const bool keepBlocks = !grid_->PixelBlocks() && step > 1 && step <= kMaxRegionBlocks;
    QRegion blocks;
    for (int i = 0; i < step; ++i) {
        const BlockCell cell = order_->Next();
        if (grid_->PixelBlocks()) {
            SetMonoPixel(mask, cell.col - 1, cell.row - 1, true);
            area |= QRect(cell.col - 1, cell.row - 1, 1, 1);
            continue;
        }
        QRect r;
        if (pieces_) {
            r = QRectOf(grid_->PieceRect(cell, pieces_->Knob()));
            pieces_->Paint(mask, cell);
        } else {
            const HalfOpenRect block = grid_->BlockRect(cell);
            r = QRectOf(block);
            FillMonoRect(mask, block.left, block.top, block.right, block.bottom, true);
        }
        area |= r;
        if (keepBlocks)
            blocks += r;
    }
    updateRect = area;
    if (keepBlocks)
        frameRegion = blocks;
}

// The block goes onto the canvas and into the work bitmap alike: later composed frames copy
// whole update rectangles from the work bitmap, which must not bring the old picture back.
void TBlockTransition::DrawDirect(PassData &data)
{
    const BlockCell cell = order_->Next();
    const QRect r = grid_->PixelBlocks() ? QRect(cell.col - 1, cell.row - 1, 1, 1) : QRectOf(grid_->BlockRect(cell));
    CopyRect(*data.canvas, *data.dstBmp, r);
    if (data.bitmap && data.bitmap != data.canvas)
        CopyRect(*data.bitmap, *data.dstBmp, r);
    updateRect = r;
}

void TBlockTransition::Finalize(PassData &data)
{
    pieces_.reset();
    order_.reset();
    grid_.reset();
    TMaskedTransition::Finalize(data);
}
