// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/band_mask.h"

#include "common/random.h"
#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/kernels/wipe_kernels.h"

#include <cstring>

namespace lumetta {

QSize BandMask::SizeFor(BandAxis axis, int bandWidth, int width, int height)
{
    return axis == BandAxis::Columns ? QSize(bandWidth, height + kBandMaskSlack)
                                     : QSize(width + kBandMaskSlack, bandWidth);
}

bool BandMask::Fits(BandAxis axis, bool newSideFirst, const QSize &size) const
{
    return !bits_.isNull() && axis_ == axis && newSideFirst_ == newSideFirst && bits_.size() == size;
}

void BandMask::Build(BandAxis axis, bool newSideFirst, int bandWidth, int width, int height)
{
    const QSize size = SizeFor(axis, bandWidth, width, height);
    bits_ = QImage(size, QImage::Format_Mono);
    bits_.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bits_.fill(0);
    axis_ = axis;
    newSideFirst_ = newSideFirst;
    select_.clear();
    selectBpp_ = 0;

    SetRandSeed(kBandMaskSeed);
    const int length = axis == BandAxis::Columns ? size.height() : size.width();
    for (int c = 0; c < bandWidth; ++c) {
        const int d = c * 100 / bandWidth;
        int t = newSideFirst ? 100 - d : d;
        if (t == 0)
            t = 1;
        // The index one past the mask's end is drawn too: it keeps the sequence of the draws.
        for (int i = 0; i <= length; ++i) {
            if (t >= Random(100) && i < length) {
                if (axis == BandAxis::Columns)
                    bits_.setPixel(c, i, 1);
                else
                    bits_.setPixel(i, c, 1);
            }
        }
    }
}

void BandMask::Clear()
{
    bits_ = QImage();
    select_.clear();
    selectBpp_ = 0;
}

const uchar *BandMask::SelectionRow(int row, int bytesPerPixel)
{
    const qsizetype stride = qsizetype(bits_.width()) * bytesPerPixel;
    if (selectBpp_ != bytesPerPixel) {
        select_.resize(std::size_t(stride) * bits_.height());
        for (int y = 0; y < bits_.height(); ++y)
            ExpandMaskRow(bits_.constScanLine(y), 0, select_.data() + y * stride, bits_.width(), bytesPerPixel);
        selectBpp_ = bytesPerPixel;
    }
    return select_.data() + row * stride;
}

void BandMask::Compose(const QImage &oldPic, const QImage &newPic, QImage &dst, const HalfOpenRect &band, int maskX,
                       int maskY, const HalfOpenRect &strip)
{
    Q_ASSERT(!bits_.isNull());
    const HalfOpenRect area{0, 0, dst.width(), dst.height()};
    const HalfOpenRect b = Intersect(band, area);
    const HalfOpenRect s = Intersect(strip, area);
    const HalfOpenRect rows = Union(b, s);
    if (rows.IsEmpty())
        return;
    const int bpp = BytesPerPixel(dst);
    const bool reference = ReferenceKernels();
    const int maskCol = b.left - band.left + maskX;
    const qsizetype bandX = qsizetype(b.left) * bpp, bandBytes = qsizetype(b.Width()) * bpp;
    const qsizetype stripX = qsizetype(s.left) * bpp, stripBytes = qsizetype(s.Width()) * bpp;
    // Rows are addressed from the base pointers: per-row scanLine calls cost more than a narrow band.
    const qsizetype oldStride = oldPic.bytesPerLine(), newStride = newPic.bytesPerLine();
    const qsizetype dstStride = dst.bytesPerLine();
    const uchar *oldBits = oldPic.constBits();
    const uchar *newBits = newPic.constBits();
    uchar *dstBits = dst.bits();
    // 32-bit pixels take the mask bits straight into AVX2 registers and the reference reads them
    // bit by bit; otherwise the mask widened to whole pixel bytes is faster. Kernels and the
    // widened mask are looked up once per frame, not per row.
    const bool readBits = reference || (bpp == 4 && CpuHasAvx2());
    const MaskSelectRowFn selectBits = KernelsInUse(MaskKernelVariants()).selectRow;
    const SelectRowBytesFn selectBytes = KernelsInUse(WipeKernelVariants()).selectRowBytes;
    const uchar *selectBase = readBits ? nullptr : SelectionRow(0, bpp) + qsizetype(maskCol) * bpp;
    const qsizetype selectStride = qsizetype(bits_.width()) * bpp;
    const uchar *maskBase = bits_.constBits();
    const qsizetype maskStride = bits_.bytesPerLine();
    // Short rows a picture row apart are too far apart for the hardware to fetch ahead: the rows
    // Ahead below are asked for while this one is composed.
    constexpr int kAhead = 8;
    const qsizetype spanX = qsizetype(rows.left) * bpp, spanBytes = qsizetype(rows.Width()) * bpp;
    const bool prefetch = !reference && spanBytes <= 512;
    for (int y = rows.top; y < rows.bottom; ++y) {
        const uchar *n = newBits + y * newStride;
        uchar *d = dstBits + y * dstStride;
        if (prefetch && y + kAhead < rows.bottom) {
            for (const uchar *p : {oldBits + (y + kAhead) * oldStride + spanX, n + kAhead * newStride + spanX,
                                   static_cast<const uchar *>(d) + kAhead * dstStride + spanX}) {
                for (qsizetype at = 0; at < spanBytes; at += 64)
                    __builtin_prefetch(p + at);
                __builtin_prefetch(p + spanBytes - 1);
            }
        }
        if (y >= s.top && y < s.bottom)
            std::memcpy(d + stripX, n + stripX, std::size_t(stripBytes));
        if (y < b.top || y >= b.bottom)
            continue;
        const int maskRow = y - band.top + maskY;
        const uchar *o = oldBits + y * oldStride + bandX;
        if (readBits)
            selectBits(maskBase + maskRow * maskStride, maskCol, n + bandX, o, d + bandX, b.Width(), bpp * 8);
        else
            selectBytes(o, n + bandX, selectBase + maskRow * selectStride, d + bandX, bandBytes);
    }
}

}  // namespace lumetta
