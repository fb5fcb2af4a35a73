// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/pixels/copy_pixels.h"

#include "transitions/core/shapes/mono_paint.h"

#include <cstddef>
#include <cstring>

namespace lumetta {

PixelCopy ClipPixelCopy(PixelSize dstSize, Point to, PixelSize srcSize, const HalfOpenRect &from)
{
    const HalfOpenRect inSource = Intersect(from, {0, 0, srcSize.width, srcSize.height});
    const Point moved{to.x + inSource.left - from.left, to.y + inSource.top - from.top};
    const HalfOpenRect target = Intersect({moved.x, moved.y, moved.x + inSource.Width(), moved.y + inSource.Height()},
                                          {0, 0, dstSize.width, dstSize.height});
    if (inSource.IsEmpty() || target.IsEmpty())
        return {};
    const int left = inSource.left + target.left - moved.x, top = inSource.top + target.top - moved.y;
    return {{left, top, left + target.Width(), top + target.Height()}, {target.left, target.top}};
}

void CopyPixels(const PixelView &dst, Point to, const ConstPixelView &src, const HalfOpenRect &from)
{
    const PixelCopy copy = ClipPixelCopy({dst.width, dst.height}, to, {src.width, src.height}, from);
    const HalfOpenRect &r = copy.from;
    if (r.IsEmpty())
        return;
    if (dst.layout == PixelLayout::Mono) {
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                SetMonoPixel(dst, copy.to.x + x, copy.to.y + y, MonoPixel(src, r.left + x, r.top + y));
        return;
    }
    const int bytes = StorageBits(dst.layout) / 8;
    const std::ptrdiff_t stride = dst.stride;
    std::uint8_t *out = dst.Row(copy.to.y) + std::ptrdiff_t(copy.to.x) * bytes;
    const std::uint8_t *source = src.Row(r.top) + std::ptrdiff_t(r.left) * bytes;
    if (stride == src.stride && r.left == 0 && copy.to.x == 0 && r.Width() == dst.width) {
        // Whole rows of equal layout are one block.
        std::memcpy(out, source, std::size_t(stride) * std::size_t(r.Height()));
        return;
    }
    for (int y = 0; y < r.Height(); ++y)
        std::memcpy(out + y * stride, source + y * src.stride, std::size_t(r.Width()) * std::size_t(bytes));
}

}  // namespace lumetta
