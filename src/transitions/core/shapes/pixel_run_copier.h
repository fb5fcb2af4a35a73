// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lumetta {

// Copies runs of rows from one picture into another of the same layout, clipped to an area. A
// plain value: held in a local for a burst of runs, its fields stay in registers, where those of
// an object the copied bytes might alias are read again after every store. PixelBytes fixes the
// bytes of a pixel (1 to 4) at compile time, so that a run of one or two pixels, most of a ring's
// or a sweep line's, is a single load and store; 0 takes the size given at run time.
template <int PixelBytes>
class PixelRunCopierOf
{
public:
    PixelRunCopierOf() = default;
    PixelRunCopierOf(const std::uint8_t *from, std::intptr_t fromStride, std::uint8_t *to, std::intptr_t toStride,
                     int width, int height, int bytesPerPixel)
        : from_(from),
          to_(to),
          fromStride_(fromStride),
          toStride_(toStride),
          width_(width),
          height_(height),
          bytes_(PixelBytes > 0 ? PixelBytes : bytesPerPixel)
    {
    }

    // Pixels x0..x1-1 of row y, clipped to the area; false when nothing of them lies inside.
    bool Copy(int y, int &x0, int &x1) const
    {
        if (unsigned(y) >= unsigned(height_))
            return false;
        if (x0 < 0)
            x0 = 0;
        if (x1 > width_)
            x1 = width_;
        if (x0 >= x1)
            return false;
        const std::size_t offset = std::size_t(x0) * std::size_t(Bytes());
        std::uint8_t *to = to_ + std::intptr_t(y) * toStride_ + offset;
        const std::uint8_t *from = from_ + std::intptr_t(y) * fromStride_ + offset;
        const int pixels = x1 - x0;
        if constexpr (PixelBytes > 0) {
            if (pixels == 1) {
                std::memcpy(to, from, PixelBytes);
                return true;
            }
            if (pixels == 2) {
                std::memcpy(to, from, 2 * PixelBytes);
                return true;
            }
        }
        CopyBytes(to, from, std::size_t(pixels) * std::size_t(Bytes()));
        return true;
    }
    // The same without telling what was copied.
    void operator()(int y, int x0, int x1) const { Copy(y, x0, x1); }

    // Calls use(copier) with this copier's copy whose pixel size is fixed at compile time.
    template <class Use>
    void WithFixedPixelSize(Use &&use) const
    {
        switch (Bytes()) {
        case 1:
            use(Fixed<1>());
            break;
        case 2:
            use(Fixed<2>());
            break;
        case 3:
            use(Fixed<3>());
            break;
        case 4:
            use(Fixed<4>());
            break;
        default:
            use(*this);
        }
    }

private:
    int Bytes() const { return PixelBytes > 0 ? PixelBytes : bytes_; }

    template <int Bytes>
    PixelRunCopierOf<Bytes> Fixed() const
    {
        return PixelRunCopierOf<Bytes>(from_, fromStride_, to_, toStride_, width_, height_, Bytes);
    }

    // Most runs of a frame are a pixel or two wide: those are copied in place, not by a call, as
    // two copies of a fixed size from either end that may overlap, so that runs of one and of two
    // pixels, which alternate at random along a sweep's line, take the same path.
    static void CopyBytes(std::uint8_t *to, const std::uint8_t *from, std::size_t count)
    {
        if (count > 16) {
            std::memcpy(to, from, count);
        } else if (count > 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + count - 8, from + count - 8, 8);
        } else if (count >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + count - 4, from + count - 4, 4);
        } else {
            for (; count > 0; --count)
                *to++ = *from++;
        }
    }

    const std::uint8_t *from_ = nullptr;
    std::uint8_t *to_ = nullptr;
    std::intptr_t fromStride_ = 0, toStride_ = 0;
    int width_ = 0, height_ = 0, bytes_ = 0;
};

using PixelRunCopier = PixelRunCopierOf<0>;

}  // namespace lumetta
