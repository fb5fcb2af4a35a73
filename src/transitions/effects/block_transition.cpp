// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/block_transition.h"

#include "common/random.h"
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/core/shapes/mono_paint.h"

#include <algorithm>

using namespace lumetta;

TBlockTransition::TBlockTransition(QObject *Owner) : TMaskedTransition(Owner)
{
    styleCount_ = 4;
}

TBlockTransition::~TBlockTransition() = default;

void TBlockTransition::SetCols(int value)
{
    if (value == cols_)
        return;
    cols_ = std::clamp(value, 1, GridRange.maximum);
    blockWidth_ = 0;
}

void TBlockTransition::SetRows(int value)
{
    if (value == rows_)
        return;
    rows_ = std::clamp(value, 1, GridRange.maximum);
    blockHeight_ = 0;
}

void TBlockTransition::SetBlockWidth(int value)
{
    if (value == blockWidth_)
        return;
    blockWidth_ = std::clamp(value, 1, GridRange.maximum);
    cols_ = 0;
}

void TBlockTransition::SetBlockHeight(int value)
{
    if (value == blockHeight_)
        return;
    blockHeight_ = std::clamp(value, 1, GridRange.maximum);
    rows_ = 0;
}

std::optional<ValueRange> TBlockTransition::PropertyRange(const QString &Property) const
{
    if (Property == QLatin1String("Cols") || Property == QLatin1String("Rows")
        || Property == QLatin1String("BlockWidth") || Property == QLatin1String("BlockHeight"))
        return GridRange;
    return TMaskedTransition::PropertyRange(Property);
}

void TBlockTransition::Assign(const QObject *Source)
{
    TMaskedTransition::Assign(Source);
    const auto *source = qobject_cast<const TBlockTransition *>(Source);
    if (!source)
        return;
    SetPuzzle(source->Puzzle());
    if (source->Rows() != 0)
        SetRows(source->Rows());
    else
        SetBlockHeight(source->BlockHeight());
    if (source->Cols() != 0)
        SetCols(source->Cols());
    else
        SetBlockWidth(source->BlockWidth());
}

QString TBlockTransition::GetDescription() const
{
    return QStringLiteral("Blocks");
}

QString TBlockTransition::GetEditorName() const
{
    return QStringLiteral("TBlockTransitionEditor");
}

int TBlockTransition::SubStyleCount(int Style) const
{
    return BlockSubStyleCount(Style);
}

int TBlockTransition::ReversedSubStyle(int Style, int SubStyle) const
{
    return BlockReversedSubStyle(Style, SubStyle);
}

void TBlockTransition::Initialize(PassData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    grid_.emplace(Data.Width, Data.Height, cols_, rows_, blockWidth_, blockHeight_, puzzle_);
    const int style = GetStyleToUse();
    const int subStyle = GetSubStyleToUse();
    // Styles outside 2..4 play the random order, which draws from a freshly seeded generator.
    if (style < 2 || style > 4)
        Randomize();
    order_.emplace(grid_->Cols(), grid_->Rows(), style, subStyle);
    if (puzzle_ && !grid_->PixelBlocks() && grid_->FrameCount() > 0)
        pieces_ = std::make_unique<PuzzlePieces>(*grid_);
    FrameCount = grid_->FrameCount();
}

void TBlockTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    // A single plain block goes straight onto the canvas; anything more is composed through the mask.
    Offscreen = puzzle_ || Step > 1;
    TMaskedTransition::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    if (Offscreen && Mask())
        ClearMask(*Mask());
}

void TBlockTransition::DrawMask(QImage &Mask, int, int Step, int, int, PassData &Data, bool &WhiteIsNew)
{
    WhiteIsNew = true;
    if (!Offscreen) {
        drawDirect(Data);
        return;
    }
    QRect area;
    // A frame's blocks lie scattered over the picture: only they are copied to the canvas and
    // shown, not the box around them. Single pixels are too many for a region.
    const bool keepBlocks = !grid_->PixelBlocks() && Step > 1 && Step <= kMaxRegionBlocks;
    QRegion blocks;
    for (int i = 0; i < Step; ++i) {
        const BlockCell cell = order_->Next();
        if (grid_->PixelBlocks()) {
            SetMonoPixel(Mask, cell.col - 1, cell.row - 1, true);
            area |= QRect(cell.col - 1, cell.row - 1, 1, 1);
            continue;
        }
        QRect r;
        if (pieces_) {
            r = grid_->PieceRect(cell, pieces_->Knob());
            pieces_->Paint(Mask, cell);
        } else {
            r = grid_->BlockRect(cell);
            FillMonoRect(Mask, r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), true);
        }
        area |= r;
        if (keepBlocks)
            blocks += r;
    }
    UpdateRect = area;
    if (keepBlocks)
        FrameRegion = blocks;
}

// The block goes onto the canvas and into the work bitmap alike: later composed frames copy
// whole update rectangles from the work bitmap, which must not bring the old picture back.
void TBlockTransition::drawDirect(PassData &Data)
{
    const BlockCell cell = order_->Next();
    const QRect r = grid_->PixelBlocks() ? QRect(cell.col - 1, cell.row - 1, 1, 1) : grid_->BlockRect(cell);
    CopyRect(*Data.Canvas, *Data.DstBmp, r);
    if (Data.Bitmap && Data.Bitmap != Data.Canvas)
        CopyRect(*Data.Bitmap, *Data.DstBmp, r);
    UpdateRect = r;
}

void TBlockTransition::Finalize(PassData &Data)
{
    pieces_.reset();
    order_.reset();
    grid_.reset();
    TMaskedTransition::Finalize(Data);
}
