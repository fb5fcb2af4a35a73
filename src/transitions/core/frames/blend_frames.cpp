// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/blend_frames.h"

#include "transitions/core/kernels/blend_kernels.h"

#include <cstdint>

namespace lumetta {
namespace {

bool IsHighColor(PixelLayout layout)
{
    return layout == PixelLayout::Rgb555 || layout == PixelLayout::Rgb565;
}

}  // namespace

int BlendFrames::Begin(PixelLayout layout, bool dissolve)
{
    layout_ = layout;
    pattern_.reset();
    if (dissolve)
        pattern_.emplace();
    return IsHighColor(layout) ? 16 : 64;
}

int BlendFrames::LevelOfFrame(PixelLayout layout, int frame)
{
    return IsHighColor(layout) ? 4 * frame : frame;
}

void BlendFrames::Draw(int frame, const ConstPixelView &oldPicture, const ConstPixelView &newPicture,
                       const PixelView &target)
{
    const int level = LevelOfFrame(layout_, frame);
    if (!pattern_) {
        BlendImagesWhole(oldPicture, newPicture, target, level);
        return;
    }
    // The target already shows the new picture under every cell set before, so only the cells
    // joining now are copied.
    const TilePattern cells = OrderedDitherCells(level);
    TilePattern joining;
    for (int y = 0; y < 8; ++y) {
        joining.rows[y] = std::uint8_t(cells.rows[y] & ~pattern_->rows[y]);
        pattern_->rows[y] |= cells.rows[y];
    }
    PatternCopyImage(newPicture, target, joining);
}

}  // namespace lumetta
