// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/pixel_view.h"

#include <cstdint>
#include <vector>

namespace lumetta {

// A 1-bit picture the core owns: masks, band masks and puzzle pieces. Rows are whole 32-bit
// words, as the mask kernels read them; a set bit is white (or, in a band mask, the new picture).
class MonoBitmap
{
public:
    MonoBitmap() = default;
    // Every bit clear; a side of 0 or less makes a null bitmap.
    MonoBitmap(int width, int height);

    bool IsNull() const { return bytes_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::ptrdiff_t Stride() const { return stride_; }
    std::uint8_t *Bits() { return bytes_.data(); }
    const std::uint8_t *Bits() const { return bytes_.data(); }
    std::size_t SizeInBytes() const { return bytes_.size(); }

    PixelView View();
    ConstPixelView View() const;

    // Same size and the same bits.
    friend bool operator==(const MonoBitmap &, const MonoBitmap &) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace lumetta
