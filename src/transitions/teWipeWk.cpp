#include "transitions/teWipeWk.h"

#include "common/random.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumetta {

void SelectRowBits_C(const uchar *oldRow, const uchar *newRow, const uchar *maskBits, int bitOffset,
                     uchar *dst, int width, int bytesPerPixel)
{
    for (int i = 0; i < width; ++i) {
        const int bit = bitOffset + i;
        const bool set = (maskBits[bit >> 3] >> (7 - (bit & 7))) & 1;
        const qsizetype at = qsizetype(i) * bytesPerPixel;
        std::memcpy(dst + at, (set ? newRow : oldRow) + at, std::size_t(bytesPerPixel));
    }
}

void SelectRowBytes_C(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst,
                      qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        dst[i] = uchar((newRow[i] & select[i]) | (oldRow[i] & ~select[i]));
}

void SelectRowBytes_SSE2(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst,
                         qsizetype count)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16) {
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i *>(oldRow + i));
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i *>(newRow + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i *>(select + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i),
                         _mm_or_si128(_mm_and_si128(m, n), _mm_andnot_si128(m, o)));
    }
#endif
    SelectRowBytes_C(oldRow + i, newRow + i, select + i, dst + i, count - i);
}

SelectRowBytesFn SelectRowBytes_Best()
{
#if defined(LUMETTA_HAVE_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return SelectRowBytes_AVX2;
#endif
    return SelectRowBytes_SSE2;
}

SelectRowBits32Fn SelectRowBits32_Best()
{
#if defined(LUMETTA_HAVE_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return SelectRowBits32_AVX2;
#endif
    return nullptr;
}

void SelectRowBytes_Fast(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst,
                         qsizetype count)
{
    SelectRowBytes_Best()(oldRow, newRow, select, dst, count);
}

void ExpandMaskRow(const uchar *maskBits, int bitOffset, uchar *out, int width, int bytesPerPixel)
{
    for (int i = 0; i < width; ++i) {
        const int bit = bitOffset + i;
        const uchar v = ((maskBits[bit >> 3] >> (7 - (bit & 7))) & 1) ? 0xFF : 0x00;
        std::memset(out + qsizetype(i) * bytesPerPixel, v, std::size_t(bytesPerPixel));
    }
}

QSize TEBandMask::SizeFor(TEBandAxis axis, int bandWidth, int width, int height)
{
    return axis == TEBandAxis::Columns ? QSize(bandWidth, height + BandMaskSlack)
                                       : QSize(width + BandMaskSlack, bandWidth);
}

bool TEBandMask::Fits(TEBandAxis axis, bool newSideFirst, const QSize &size) const
{
    return !m_bits.isNull() && m_axis == axis && m_newSideFirst == newSideFirst && m_bits.size() == size;
}

void TEBandMask::Build(TEBandAxis axis, bool newSideFirst, int bandWidth, int width, int height)
{
    const QSize size = SizeFor(axis, bandWidth, width, height);
    m_bits = QImage(size, QImage::Format_Mono);
    m_bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    m_bits.fill(0);
    m_axis = axis;
    m_newSideFirst = newSideFirst;
    m_select.clear();
    m_selectBpp = 0;

    SetRandSeed(BandMaskSeed);
    const int length = axis == TEBandAxis::Columns ? size.height() : size.width();
    for (int c = 0; c < bandWidth; ++c) {
        const int d = c * 100 / bandWidth;
        int t = newSideFirst ? 100 - d : d;
        if (t == 0)
            t = 1;
        // The index one past the mask's end is drawn too: it keeps the sequence of the draws.
        for (int i = 0; i <= length; ++i) {
            if (t >= Random(100) && i < length) {
                if (axis == TEBandAxis::Columns)
                    m_bits.setPixel(c, i, 1);
                else
                    m_bits.setPixel(i, c, 1);
            }
        }
    }
}

void TEBandMask::Clear()
{
    m_bits = QImage();
    m_select.clear();
    m_selectBpp = 0;
}

const uchar *TEBandMask::selectionRow(int row, int bytesPerPixel)
{
    const qsizetype stride = qsizetype(m_bits.width()) * bytesPerPixel;
    if (m_selectBpp != bytesPerPixel) {
        m_select.resize(std::size_t(stride) * m_bits.height());
        for (int y = 0; y < m_bits.height(); ++y)
            ExpandMaskRow(m_bits.constScanLine(y), 0, m_select.data() + y * stride, m_bits.width(),
                          bytesPerPixel);
        m_selectBpp = bytesPerPixel;
    }
    return m_select.data() + row * stride;
}

void TEBandMask::Compose(const QImage &oldPic, const QImage &newPic, QImage &dst, const TERect &band,
                         int maskX, int maskY, const TERect &strip)
{
    Q_ASSERT(!m_bits.isNull());
    const TERect area{0, 0, dst.width(), dst.height()};
    const TERect b = Intersect(band, area);
    const TERect s = Intersect(strip, area);
    const TERect rows = Union(b, s);
    if (rows.IsEmpty())
        return;
    const int bpp = BytesPerPixel(dst);
    const bool reference = ReferenceKernels();
    const int maskCol = b.Left - band.Left + maskX;
    const qsizetype bandX = qsizetype(b.Left) * bpp, bandBytes = qsizetype(b.Width()) * bpp;
    const qsizetype stripX = qsizetype(s.Left) * bpp, stripBytes = qsizetype(s.Width()) * bpp;
    // Rows are addressed from the base pointers: per-row scanLine calls cost more than a narrow band.
    const qsizetype oldStride = oldPic.bytesPerLine(), newStride = newPic.bytesPerLine();
    const qsizetype dstStride = dst.bytesPerLine();
    const uchar *oldBits = oldPic.constBits();
    const uchar *newBits = newPic.constBits();
    uchar *dstBits = dst.bits();
    // 32-bit pixels take the mask bits straight into registers; other sizes use the widened mask.
    // Kernels and the widened mask are looked up once per frame, not per row.
    const SelectRowBits32Fn bits32 = reference || bpp != 4 ? nullptr : SelectRowBits32_Best();
    const SelectRowBytesFn select = SelectRowBytes_Best();
    const uchar *selectBase = reference || bits32 ? nullptr : selectionRow(0, bpp) + qsizetype(maskCol) * bpp;
    const qsizetype selectStride = qsizetype(m_bits.width()) * bpp;
    const uchar *maskBase = m_bits.constBits();
    const qsizetype maskStride = m_bits.bytesPerLine();
    // Short rows a picture row apart are too far apart for the hardware to fetch ahead: the rows
    // Ahead below are asked for while this one is composed.
    constexpr int Ahead = 8;
    const qsizetype spanX = qsizetype(rows.Left) * bpp, spanBytes = qsizetype(rows.Width()) * bpp;
    const bool prefetch = !reference && spanBytes <= 512;
    for (int y = rows.Top; y < rows.Bottom; ++y) {
        const uchar *n = newBits + y * newStride;
        uchar *d = dstBits + y * dstStride;
        if (prefetch && y + Ahead < rows.Bottom) {
            for (const uchar *p : {oldBits + (y + Ahead) * oldStride + spanX, n + Ahead * newStride + spanX,
                                   static_cast<const uchar *>(d) + Ahead * dstStride + spanX}) {
                for (qsizetype at = 0; at < spanBytes; at += 64)
                    __builtin_prefetch(p + at);
                __builtin_prefetch(p + spanBytes - 1);
            }
        }
        if (y >= s.Top && y < s.Bottom)
            std::memcpy(d + stripX, n + stripX, std::size_t(stripBytes));
        if (y < b.Top || y >= b.Bottom)
            continue;
        const int maskRow = y - band.Top + maskY;
        const uchar *o = oldBits + y * oldStride + bandX;
        if (bits32)
            bits32(o, n + bandX, maskBase + maskRow * maskStride, maskCol, d + bandX, b.Width());
        else if (reference)
            SelectRowBits_C(o, n + bandX, m_bits.constScanLine(maskRow), maskCol, d + bandX, b.Width(), bpp);
        else
            select(o, n + bandX, selectBase + maskRow * selectStride, d + bandX, bandBytes);
    }
}

}  // namespace lumetta
