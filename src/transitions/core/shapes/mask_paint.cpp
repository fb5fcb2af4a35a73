// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/shapes/mask_paint.h"

#include "transitions/core/shapes/mono_paint.h"
#include "transitions/core/shapes/shape_runs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumetta {
namespace {

void ClippedSpan(const PixelView &mask, int y, std::int64_t x0, std::int64_t x1, bool white)
{
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, mask.width);
    if (x0 < x1)
        FillMonoRect(mask, int(x0), y, int(x1), y + 1, white);
}

}  // namespace

int MaskedBitmapWidth(int width)
{
    return width <= 0 ? 32 : ((width - 1) / 32 + 1) * 32;
}

MonoBitmap CreateMask(int width, int height)
{
    return MonoBitmap(MaskedBitmapWidth(width), std::max(height, 1));
}

void ClearMask(const PixelView &mask)
{
    std::memset(mask.bits, 0, mask.SizeInBytes());
}

void InvertMask(const PixelView &mask)
{
    std::uint8_t *bits = mask.bits;
    const auto bytes = std::ptrdiff_t(mask.SizeInBytes());
    std::ptrdiff_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, bits + i, 8);
        w = ~w;
        std::memcpy(bits + i, &w, 8);
    }
    for (; i < bytes; ++i)
        bits[i] = std::uint8_t(~bits[i]);
}

void MaskLine(const PixelView &mask, Point from, Point to, bool white)
{
    LineRuns(from, to, mask.height, [&](int y, int x0, int x1) { ClippedSpan(mask, y, x0, x1, white); });
}

void MaskFillPolygon(const PixelView &mask, const Point *points, int count, bool white)
{
    std::vector<PolygonCrossing> crossings;
    PolygonRuns(points, count, mask.height, crossings,
                [&](int y, int x0, int x1) { ClippedSpan(mask, y, x0, x1, white); });
}

}  // namespace lumetta
