#include "transitions/row_kernels.h"

#include <algorithm>

namespace lumetta {
namespace {

bool initialReference()
{
    return qEnvironmentVariableIntValue("LUMETTA_REFERENCE_KERNELS") == 1;
}

bool g_reference = initialReference();

}  // namespace

QRect HalfOpenRect::ToQRect() const
{
    return IsEmpty() ? QRect() : QRect(Left, Top, Right - Left, Bottom - Top);
}

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b)
{
    HalfOpenRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
             std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? HalfOpenRect{} : r;
}

HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b)
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

}  // namespace lumetta
