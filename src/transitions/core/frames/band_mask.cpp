// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/band_mask.h"

#include "common/random.h"
#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/kernels/wipe_kernels.h"
#include "transitions/core/shapes/mono_paint.h"

#include <cassert>
#include <cstring>

namespace lumetta {

PixelSize BandMask::SizeFor(BandAxis axis, int bandWidth, int width, int height)
{
    return axis == BandAxis::Columns ? PixelSize{bandWidth, height + kBandMaskSlack}
                                     : PixelSize{width + kBandMaskSlack, bandWidth};
}

bool BandMask::Fits(BandAxis axis, bool newSideFirst, const PixelSize &size) const
{
    return !bits_.IsNull() && axis_ == axis && newSideFirst_ == newSideFirst
           && PixelSize{bits_.Width(), bits_.Height()} == size;
}

void BandMask::Build(BandAxis axis, bool newSideFirst, int bandWidth, int width, int height)
{
    const PixelSize size = SizeFor(axis, bandWidth, width, height);
    bits_ = MonoBitmap(size.width, size.height);
    const PixelView bits = bits_.View();
    axis_ = axis;
    newSideFirst_ = newSideFirst;
    select_.clear();
    selectBpp_ = 0;

    SetRandSeed(kBandMaskSeed);
    const int length = axis == BandAxis::Columns ? size.height : size.width;
    for (int c = 0; c < bandWidth; ++c) {
        const int d = c * 100 / bandWidth;
        int t = newSideFirst ? 100 - d : d;
        if (t == 0)
            t = 1;
        // The index one past the mask's end is drawn too: it keeps the sequence of the draws.
        for (int i = 0; i <= length; ++i) {
            if (t >= Random(100) && i < length) {
                if (axis == BandAxis::Columns)
                    SetMonoPixel(bits, c, i, true);
                else
                    SetMonoPixel(bits, i, c, true);
            }
        }
    }
}

void BandMask::Clear()
{
    bits_ = MonoBitmap();
    select_.clear();
    selectBpp_ = 0;
}

const std::uint8_t *BandMask::SelectionRow(int row, int bytesPerPixel)
{
    const std::ptrdiff_t stride = std::ptrdiff_t(bits_.Width()) * bytesPerPixel;
    if (selectBpp_ != bytesPerPixel) {
        const ConstPixelView bits = bits_.View();
        select_.resize(std::size_t(stride) * std::size_t(bits.height));
        for (int y = 0; y < bits.height; ++y)
            ExpandMaskRow(bits.Row(y), 0, select_.data() + y * stride, bits.width, bytesPerPixel);
        selectBpp_ = bytesPerPixel;
    }
    return select_.data() + row * stride;
}

void BandMask::Compose(const ConstPixelView &oldPic, const ConstPixelView &newPic, const PixelView &dst,
                       const HalfOpenRect &band, int maskX, int maskY, const HalfOpenRect &strip)
{
    assert(!bits_.IsNull());
    const HalfOpenRect area{0, 0, dst.width, dst.height};
    const HalfOpenRect b = Intersect(band, area);
    const HalfOpenRect s = Intersect(strip, area);
    const HalfOpenRect rows = Union(b, s);
    if (rows.IsEmpty())
        return;
    const int bpp = dst.BytesPerPixel();
    const bool reference = ReferenceKernels();
    const int maskCol = b.left - band.left + maskX;
    const std::ptrdiff_t bandX = std::ptrdiff_t(b.left) * bpp, bandBytes = std::ptrdiff_t(b.Width()) * bpp;
    const std::ptrdiff_t stripX = std::ptrdiff_t(s.left) * bpp, stripBytes = std::ptrdiff_t(s.Width()) * bpp;
    // Rows are addressed from the base pointers: per-row scanLine calls cost more than a narrow band.
    const std::ptrdiff_t oldStride = oldPic.stride, newStride = newPic.stride;
    const std::ptrdiff_t dstStride = dst.stride;
    const std::uint8_t *oldBits = oldPic.bits;
    const std::uint8_t *newBits = newPic.bits;
    std::uint8_t *dstBits = dst.bits;
    // 32-bit pixels take the mask bits straight into AVX2 registers and the reference reads them
    // bit by bit; otherwise the mask widened to whole pixel bytes is faster. Kernels and the
    // widened mask are looked up once per frame, not per row.
    const bool readBits = reference || (bpp == 4 && CpuHasAvx2());
    const MaskSelectRowFn selectBits = KernelsInUse(MaskKernelVariants()).selectRow;
    const SelectRowBytesFn selectBytes = KernelsInUse(WipeKernelVariants()).selectRowBytes;
    const std::uint8_t *selectBase = readBits ? nullptr : SelectionRow(0, bpp) + std::ptrdiff_t(maskCol) * bpp;
    const std::ptrdiff_t selectStride = std::ptrdiff_t(bits_.Width()) * bpp;
    const std::uint8_t *maskBase = bits_.Bits();
    const std::ptrdiff_t maskStride = bits_.Stride();
    // Short rows a picture row apart are too far apart for the hardware to fetch ahead: the rows
    // Ahead below are asked for while this one is composed.
    constexpr int kAhead = 8;
    const std::ptrdiff_t spanX = std::ptrdiff_t(rows.left) * bpp, spanBytes = std::ptrdiff_t(rows.Width()) * bpp;
    const bool prefetch = !reference && spanBytes <= 512;
    for (int y = rows.top; y < rows.bottom; ++y) {
        const std::uint8_t *n = newBits + y * newStride;
        std::uint8_t *d = dstBits + y * dstStride;
        if (prefetch && y + kAhead < rows.bottom) {
            for (const std::uint8_t *p : {oldBits + (y + kAhead) * oldStride + spanX, n + kAhead * newStride + spanX,
                                          static_cast<const std::uint8_t *>(d) + kAhead * dstStride + spanX}) {
                for (std::ptrdiff_t at = 0; at < spanBytes; at += 64)
                    __builtin_prefetch(p + at);
                __builtin_prefetch(p + spanBytes - 1);
            }
        }
        if (y >= s.top && y < s.bottom)
            std::memcpy(d + stripX, n + stripX, std::size_t(stripBytes));
        if (y < b.top || y >= b.bottom)
            continue;
        const int maskRow = y - band.top + maskY;
        const std::uint8_t *o = oldBits + y * oldStride + bandX;
        if (readBits)
            selectBits(maskBase + maskRow * maskStride, maskCol, n + bandX, o, d + bandX, b.Width(), bpp * 8);
        else
            selectBytes(o, n + bandX, selectBase + maskRow * selectStride, d + bandX, bandBytes);
    }
}

}  // namespace lumetta
