// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"

namespace lumetta {

namespace {

bool IsHighColorFormat(PixelFormat format)
{
    return format == pf15bit || format == pf16bit;
}

}  // namespace

TBlendTransition::TBlendTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
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

int TBlendTransition::LevelOfFrame(PixelFormat Format, int Frame)
{
    return IsHighColorFormat(Format) ? 4 * Frame : Frame;
}

void TBlendTransition::Initialize(PassData &Data, int &FrameCount)
{
    FrameCount = IsHighColorFormat(Data.PixelFormat) ? 16 : 64;
    if (!Data.HighColor)
        pattern_.emplace();
    onCanvas_ = CanDrawOnCanvas(Data);
    Offscreen = !onCanvas_;
    // The dissolve only adds cells, so its target starts as the old picture; a mix writes every
    // word of the area each frame and needs no start.
    QImage &target = onCanvas_ ? *Data.Canvas : *Data.Bitmap;
    if (pattern_ && &target != Data.SrcBmp)
        CopyRect(target, *Data.SrcBmp, Data.SrcBmp->rect());
}

void TBlendTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    const int level = LevelOfFrame(Data.PixelFormat, CurrentFrame);
    QImage &work = onCanvas_ ? *Data.Canvas : *Data.GetCanvas();
    if (pattern_) {
        // The work picture already shows the new one under every cell set before, so only the
        // cells joining now are copied.
        const lumetta::TilePattern cells = lumetta::OrderedDitherCells(level);
        lumetta::TilePattern joining;
        for (int y = 0; y < 8; ++y) {
            joining.rows[y] = std::uint8_t(cells.rows[y] & ~pattern_->rows[y]);
            pattern_->rows[y] |= cells.rows[y];
        }
        lumetta::PatternCopyImage(*Data.DstBmp, work, joining);
    } else {
        lumetta::BlendImagesWhole(*Data.SrcBmp, *Data.DstBmp, work, level);
    }
    UpdateRect = QRect(0, 0, Data.Width, Data.Height);
}

void TBlendTransition::Finalize(PassData &)
{
    pattern_.reset();
    onCanvas_ = false;
    Offscreen = true;
}

}  // namespace lumetta
