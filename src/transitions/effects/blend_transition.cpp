// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"

#include "transitions/engine/core_conversions.h"

namespace lumetta {

namespace {

bool IsHighColorFormat(PixelFormat format)
{
    return format == pf15bit || format == pf16bit;
}

}  // namespace

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

int TBlendTransition::LevelOfFrame(PixelFormat format, int frame)
{
    return IsHighColorFormat(format) ? 4 * frame : frame;
}

void TBlendTransition::Initialize(PassData &data, int &frameCount)
{
    frameCount = IsHighColorFormat(data.pixelFormat) ? 16 : 64;
    if (!data.highColor)
        pattern_.emplace();
    onCanvas_ = CanDrawOnCanvas(data);
    offscreen = !onCanvas_;
    // The dissolve only adds cells, so its target starts as the old picture; a mix writes every
    // word of the area each frame and needs no start.
    QImage &target = onCanvas_ ? *data.canvas : *data.bitmap;
    if (pattern_ && &target != data.srcBmp)
        CopyRect(target, *data.srcBmp, data.srcBmp->rect());
}

void TBlendTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    const int level = LevelOfFrame(data.pixelFormat, currentFrame);
    QImage &work = onCanvas_ ? *data.canvas : *data.GetCanvas();
    if (pattern_) {
        // The work picture already shows the new one under every cell set before, so only the
        // cells joining now are copied.
        const lumetta::TilePattern cells = lumetta::OrderedDitherCells(level);
        lumetta::TilePattern joining;
        for (int y = 0; y < 8; ++y) {
            joining.rows[y] = std::uint8_t(cells.rows[y] & ~pattern_->rows[y]);
            pattern_->rows[y] |= cells.rows[y];
        }
        lumetta::PatternCopyImage(ReadView(*data.dstBmp), WritableView(work), joining);
    } else {
        lumetta::BlendImagesWhole(ReadView(*data.srcBmp), ReadView(*data.dstBmp), WritableView(work), level);
    }
    updateRect = QRect(0, 0, data.width, data.height);
}

void TBlendTransition::Finalize(PassData &)
{
    pattern_.reset();
    onCanvas_ = false;
    offscreen = true;
}

}  // namespace lumetta
