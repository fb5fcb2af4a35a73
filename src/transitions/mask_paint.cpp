#include "transitions/mask_paint.h"

#include "transitions/mono_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <vector>

namespace lumetta {
namespace {

void clippedSpan(QImage &mask, int y, std::int64_t x0, std::int64_t x1, bool white)
{
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, mask.width());
    if (x0 < x1)
        FillMonoRect(mask, int(x0), y, int(x1), y + 1, white);
}

}  // namespace

int MaskedBitmapWidth(int width) { return width <= 0 ? 32 : ((width - 1) / 32 + 1) * 32; }

QImage CreateMask(int width, int height)
{
    return NewMonoImage(MaskedBitmapWidth(width), std::max(height, 1));
}

void ClearMask(QImage &mask)
{
    std::memset(mask.bits(), 0, size_t(mask.sizeInBytes()));
}

void InvertMask(QImage &mask)
{
    uchar *bits = mask.bits();
    const qsizetype bytes = mask.sizeInBytes();
    qsizetype i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, bits + i, 8);
        w = ~w;
        std::memcpy(bits + i, &w, 8);
    }
    for (; i < bytes; ++i)
        bits[i] = uchar(~bits[i]);
}

void MaskLine(QImage &mask, QPoint from, QPoint to, bool white)
{
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int stepX = x < to.x() ? 1 : -1, stepY = y < to.y() ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        SetMonoPixel(mask, x, y, white);
        if (x == to.x() && y == to.y())
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepY;
        }
    }
}

void MaskFillPolygon(QImage &mask, const QPoint *points, int count, bool white)
{
    if (count <= 0)
        return;
    int minY = points[0].y(), maxY = points[0].y();
    for (int i = 1; i < count; ++i) {
        minY = std::min(minY, points[i].y());
        maxY = std::max(maxY, points[i].y());
    }
    struct Crossing {
        double x;
        int winding;
    };
    std::vector<Crossing> crossings;
    // Vertices are pixel centres, as for lines, so interior and outline agree.
    const int y0 = std::max(minY, 0);
    const int y1 = std::min(maxY, mask.height());
    for (int y = y0; y < y1; ++y) {
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const QPoint p = points[i];
            const QPoint q = points[(i + 1) % count];
            if (p.y() == q.y())
                continue;
            const bool down = q.y() > p.y();
            const int lo = down ? p.y() : q.y();
            const int hi = down ? q.y() : p.y();
            if (y < lo || y >= hi)
                continue;
            const double x = p.x() + double(y - p.y()) * double(q.x() - p.x()) / double(q.y() - p.y());
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing &l, const Crossing &r) { return l.x < r.x; });
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding == 0)
                continue;
            const auto first = std::int64_t(std::ceil(crossings[i].x));
            const auto last = std::int64_t(std::floor(crossings[i + 1].x));
            clippedSpan(mask, y, first, last + 1, white);
        }
    }
    for (int i = 0; i < count; ++i)
        MaskLine(mask, points[i], points[(i + 1) % count], white);
}

}  // namespace lumetta
