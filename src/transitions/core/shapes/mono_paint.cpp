// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/mono_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumetta {
namespace {

// Sets or clears bits x0..x1 - 1 of one row, whole bytes where possible.
void FillSpan(std::uint8_t *row, int x0, int x1, bool white)
{
    while (x0 < x1 && (x0 & 7) != 0) {
        const std::uint8_t bit = std::uint8_t(0x80 >> (x0 & 7));
        row[x0 >> 3] = white ? std::uint8_t(row[x0 >> 3] | bit) : std::uint8_t(row[x0 >> 3] & ~bit);
        ++x0;
    }
    const int wholeBytes = (x1 - x0) / 8;
    if (wholeBytes > 0) {
        std::fill_n(row + (x0 >> 3), wholeBytes, white ? std::uint8_t(0xFF) : std::uint8_t(0));
        x0 += wholeBytes * 8;
    }
    while (x0 < x1) {
        const std::uint8_t bit = std::uint8_t(0x80 >> (x0 & 7));
        row[x0 >> 3] = white ? std::uint8_t(row[x0 >> 3] | bit) : std::uint8_t(row[x0 >> 3] & ~bit);
        ++x0;
    }
}

// True when the centre of pixel x lies inside or on the ellipse, in units doubled so that
// centres are whole numbers: (2x + 1 - sumX)^2 * h^2 + dy2 * w^2 <= w^2 * h^2.
bool InsideRow(int x, std::int64_t sumX, std::int64_t w2, std::int64_t h2, std::int64_t rowTerm)
{
    const std::int64_t dx = 2 * std::int64_t(x) + 1 - sumX;
    return dx * dx * h2 + rowTerm <= w2 * h2;
}

}  // namespace

void FillMonoRect(const PixelView &image, int left, int top, int right, int bottom, bool white)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width);
    bottom = std::min(bottom, image.height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        FillSpan(image.Row(y), left, right, white);
}

void FillMonoEllipse(const PixelView &image, int left, int top, int right, int bottom, bool white)
{
    if (right <= left || bottom <= top)
        return;
    const std::int64_t w = right - left, h = bottom - top;
    const std::int64_t w2 = w * w, h2 = h * h;
    const std::int64_t sumX = std::int64_t(left) + right, sumY = std::int64_t(top) + bottom;
    const double cx = double(sumX) / 2, rx = double(w) / 2;
    const int y0 = std::max(top, 0), y1 = std::min(bottom, image.height);
    for (int y = y0; y < y1; ++y) {
        const std::int64_t dy = 2 * std::int64_t(y) + 1 - sumY;
        const std::int64_t rowTerm = dy * dy * w2;
        if (rowTerm > w2 * h2)
            continue;
        // Estimate the span in floating point, then settle its ends with the exact test.
        const double v = 1.0 - double(dy * dy) / double(h2);
        const double half = rx * std::sqrt(std::max(v, 0.0));
        int xa = int(std::ceil(cx - half - 0.5)), xb = int(std::floor(cx + half - 0.5));
        while (xa <= xb && !InsideRow(xa, sumX, w2, h2, rowTerm))
            ++xa;
        while (InsideRow(xa - 1, sumX, w2, h2, rowTerm))
            --xa;
        while (xb >= xa && !InsideRow(xb, sumX, w2, h2, rowTerm))
            --xb;
        while (InsideRow(xb + 1, sumX, w2, h2, rowTerm))
            ++xb;
        const int from = std::max(xa, 0), to = std::min(xb + 1, image.width);
        if (from < to)
            FillSpan(image.Row(y), from, to, white);
    }
}

void SetMonoPixel(const PixelView &image, int x, int y, bool white)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    FillSpan(image.Row(y), x, x + 1, white);
}

bool MonoPixel(const ConstPixelView &image, int x, int y)
{
    return (image.Row(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

void OrMonoImage(const PixelView &image, int x, int y, const ConstPixelView &source)
{
    const int sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int sx1 = std::min(source.width, image.width - x);
    const int sy1 = std::min(source.height, image.height - y);
    for (int sy = sy0; sy < sy1; ++sy) {
        const std::uint8_t *src = source.Row(sy);
        std::uint8_t *dst = image.Row(sy + y);
        for (int sx = sx0; sx < sx1; ++sx) {
            if ((src[sx >> 3] >> (7 - (sx & 7))) & 1) {
                const int dx = sx + x;
                dst[dx >> 3] = std::uint8_t(dst[dx >> 3] | (0x80 >> (dx & 7)));
            }
        }
    }
}

}  // namespace lumetta
