// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/oriented_rows.h"

#include "media/orientation.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lumetta {

OrientedRows::OrientedRows(QImage &target, QSize stored, int orientation, std::vector<quint32> &strip)
    : target_(target),
      stored_(stored),
      orientation_(ValidOrientation(orientation)),
      strip_(strip)
{
    strip_.clear();
    if (OrientationSwapsSides(orientation_))
        strip_.resize(std::size_t(stored.width()) * kStripRows);
}

uchar *OrientedRows::Row(int line)
{
    if (!strip_.empty())
        return reinterpret_cast<uchar *>(strip_.data() + std::size_t(line % kStripRows) * stored_.width());
    const bool upsideDown = orientation_ == 3 || orientation_ == 4;
    return target_.scanLine(upsideDown ? stored_.height() - 1 - line : line);
}

int OrientedRows::RowsAvailable(int line) const
{
    return strip_.empty() ? stored_.height() - line : kStripRows - line % kStripRows;
}

void OrientedRows::Written(int end)
{
    if (!strip_.empty()) {
        if (end % kStripRows == 0 || end == stored_.height())
            FlushStrip(end);
        return;
    }
    if (orientation_ == 2 || orientation_ == 3) {
        for (int line = done_; line < end; ++line) {
            auto *pixels = reinterpret_cast<quint32 *>(Row(line));
            std::reverse(pixels, pixels + stored_.width());
        }
    }
    done_ = end;
}

void OrientedRows::FlushStrip(int end)
{
    // Stored row y becomes target column y (orientations 5, 8) or height - 1 - y (6, 7); stored
    // column x becomes target row x (5, 6) or width - 1 - x (7, 8).
    const int width = stored_.width();
    const int count = end - done_;
    const bool columnsForward = orientation_ == 5 || orientation_ == 8;
    const bool rowsForward = orientation_ == 5 || orientation_ == 6;
    const int firstColumn = columnsForward ? done_ : stored_.height() - 1 - done_;
    const int step = columnsForward ? 1 : -1;
    uchar *const bits = target_.bits();
    const qsizetype bytesPerLine = target_.bytesPerLine();
    const auto targetRow = [&](int x) {
        return reinterpret_cast<quint32 *>(bits + bytesPerLine * (rowsForward ? x : width - 1 - x)) + firstColumn;
    };
    const quint32 *source[kStripRows];
    for (int i = 0; i < count; ++i)
        source[i] = strip_.data() + std::size_t((done_ + i) % kStripRows) * width;

    int x = 0;
#ifdef __SSE2__
    // Four by four blocks transposed in registers: four stored rows become four target columns.
    const int blockRows = count / 4 * 4;
    for (; x + 4 <= width; x += 4) {
        quint32 *out[4] = {targetRow(x), targetRow(x + 1), targetRow(x + 2), targetRow(x + 3)};
        for (int i = 0; i < blockRows; i += 4) {
            const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source[i] + x));
            const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source[i + 1] + x));
            const __m128i r2 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source[i + 2] + x));
            const __m128i r3 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source[i + 3] + x));
            const __m128i t0 = _mm_unpacklo_epi32(r0, r1), t1 = _mm_unpacklo_epi32(r2, r3);
            const __m128i t2 = _mm_unpackhi_epi32(r0, r1), t3 = _mm_unpackhi_epi32(r2, r3);
            __m128i columns[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1), _mm_unpacklo_epi64(t2, t3),
                                  _mm_unpackhi_epi64(t2, t3)};
            for (int j = 0; j < 4; ++j) {
                __m128i column = columns[j];
                quint32 *at = out[j] + i;
                if (!columnsForward) {
                    column = _mm_shuffle_epi32(column, _MM_SHUFFLE(0, 1, 2, 3));
                    at = out[j] - i - 3;
                }
                // The target is written once and read much later: streaming stores spare
                // reading each line into the cache first.
                if ((reinterpret_cast<quintptr>(at) & 15) == 0)
                    _mm_stream_si128(reinterpret_cast<__m128i *>(at), column);
                else
                    _mm_storeu_si128(reinterpret_cast<__m128i *>(at), column);
            }
        }
        for (int j = 0; j < 4; ++j)
            for (int i = blockRows; i < count; ++i)
                out[j][i * step] = source[i][x + j];
    }
    _mm_sfence();
#endif
    for (; x < width; ++x) {
        quint32 *out = targetRow(x);
        for (int i = 0; i < count; ++i)
            out[i * step] = source[i][x];
    }
    done_ = end;
}

}  // namespace lumetta
