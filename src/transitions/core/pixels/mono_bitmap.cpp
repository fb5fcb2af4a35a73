// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/pixels/mono_bitmap.h"

namespace lumetta {

MonoBitmap::MonoBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    width_ = width;
    height_ = height;
    stride_ = (std::ptrdiff_t(width) + 31) / 32 * 4;
    bytes_.assign(std::size_t(stride_) * std::size_t(height), 0);
}

PixelView MonoBitmap::View()
{
    return {bytes_.data(), width_, height_, stride_, PixelLayout::Mono};
}

ConstPixelView MonoBitmap::View() const
{
    return {bytes_.data(), width_, height_, stride_, PixelLayout::Mono};
}

}  // namespace lumetta
