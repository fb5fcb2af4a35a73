// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The core's window on pixels it does not own: the engine's pictures, a browser's canvas, a
// plain buffer. Rows are stride bytes apart; pixels are packed as the layout says.
namespace lumetta {

enum class PixelLayout : std::uint8_t {
    Mono,  // 1 bit a pixel, most significant bit leftmost
    Indexed8,  // a byte a pixel, indices into a palette the view does not carry
    Rgb555,  // 16-bit words of fields 10-14, 5-9, 0-4
    Rgb565,  // 16-bit words of fields 11-15, 5-10, 0-4
    Rgb888,  // three bytes, red first
    Rgb32,  // 32-bit words 0xFFRRGGBB
    Other,  // a layout the core does not draw on
};

// Bits one pixel takes in memory; 0 for Other.
constexpr int StorageBits(PixelLayout layout)
{
    switch (layout) {
    case PixelLayout::Mono:
        return 1;
    case PixelLayout::Indexed8:
        return 8;
    case PixelLayout::Rgb555:
    case PixelLayout::Rgb565:
        return 16;
    case PixelLayout::Rgb888:
        return 24;
    case PixelLayout::Rgb32:
        return 32;
    case PixelLayout::Other:
        break;
    }
    return 0;
}

// Byte is std::uint8_t for a view that writes, const std::uint8_t for one that only reads.
template <class Byte>
struct BasicPixelView
{
    Byte *bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    PixelLayout layout = PixelLayout::Other;

    bool IsNull() const { return bits == nullptr; }
    Byte *Row(int y) const { return bits + y * stride; }
    // Storage bytes of one pixel (1 for 1-bit and 8-bit layouts).
    int BytesPerPixel() const { return (StorageBits(layout) + 7) / 8; }
    std::size_t SizeInBytes() const { return std::size_t(stride) * std::size_t(height); }

    // A writing view reads as well.
    operator BasicPixelView<const Byte>() const requires(!std::is_const_v<Byte>)
    {
        return {bits, width, height, stride, layout};
    }
};

using PixelView = BasicPixelView<std::uint8_t>;
using ConstPixelView = BasicPixelView<const std::uint8_t>;

}  // namespace lumetta
