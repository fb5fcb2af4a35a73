#include "transitions/teRows.h"

#include <algorithm>
#include <cstring>

namespace lumetta {
namespace {

bool initialReference()
{
    return qEnvironmentVariableIntValue("LUMETTA_REFERENCE_KERNELS") == 1;
}

bool g_reference = initialReference();

}  // namespace

QRect TERect::ToQRect() const
{
    return IsEmpty() ? QRect() : QRect(Left, Top, Right - Left, Bottom - Top);
}

TERect Intersect(const TERect &a, const TERect &b)
{
    TERect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
             std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TERect{} : r;
}

TERect Union(const TERect &a, const TERect &b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

int BytesPerPixel(const QImage &image)
{
    return (image.depth() + 7) / 8;
}

bool ReferenceKernels()
{
    return g_reference;
}

void SetReferenceKernels(bool on)
{
    g_reference = on;
}

void CopyRect(const QImage &src, QImage &dst, const TERect &r)
{
    Q_ASSERT(src.format() == dst.format());
    const TERect c = Intersect(Intersect(r, {0, 0, src.width(), src.height()}),
                               {0, 0, dst.width(), dst.height()});
    if (c.IsEmpty())
        return;
    const int bpp = BytesPerPixel(dst);
    const std::size_t bytes = std::size_t(c.Width()) * bpp;
    const uchar *s = src.constBits() + qsizetype(c.Top) * src.bytesPerLine() + qsizetype(c.Left) * bpp;
    uchar *d = dst.bits() + qsizetype(c.Top) * dst.bytesPerLine() + qsizetype(c.Left) * bpp;
    for (int y = c.Top; y < c.Bottom; ++y, s += src.bytesPerLine(), d += dst.bytesPerLine())
        std::memcpy(d, s, bytes);
}

}  // namespace lumetta
