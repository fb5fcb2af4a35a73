// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/drip_kernels.h"

#include "transitions/core/kernels/row_kernels.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace lumetta {

namespace {

// A smear of more bytes than this is written past the caches: a frame's area that large is
// evicted before the next frame rewrites it, and keeping it would only push out the pictures.
constexpr std::ptrdiff_t kStreamingBytes = std::ptrdiff_t(16) << 20;

}  // namespace

void FillRowC(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    for (int i = 0; i < width; ++i)
        std::memcpy(dst + std::ptrdiff_t(i) * bytesPerPixel, pixel, std::size_t(bytesPerPixel));
}

void FillRowWords(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    if (width <= 0)
        return;
    if (bytesPerPixel == 1) {
        std::memset(dst, pixel[0], std::size_t(width));
        return;
    }
    // Double the filled part with each copy: word-wise copies that need no alignment of dst.
    const std::size_t total = std::size_t(width) * bytesPerPixel;
    std::memcpy(dst, pixel, std::size_t(bytesPerPixel));
    std::size_t done = std::size_t(bytesPerPixel);
    while (done < total) {
        const std::size_t n = std::min(done, total - done);
        std::memcpy(dst + done, dst, n);
        done += n;
    }
}

namespace {

std::vector<DripKernels> DetectVariants()
{
    std::vector<DripKernels> variants{{"reference", &FillRowC, &FillRowC}, {"words", &FillRowWords, &FillRowWords}};
#if defined(__x86_64__)
    if (CpuHasAvx2())
        variants.push_back({"avx2", &FillRowAvX2, &FillRowStreamingAvX2});
#endif
    return variants;
}

}  // namespace

const std::vector<DripKernels> &DripKernelVariants()
{
    static const std::vector<DripKernels> kVariants = DetectVariants();
    return kVariants;
}

void FillRow(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    KernelsInUse(DripKernelVariants()).fillRow(dst, pixel, width, bytesPerPixel);
}

void SmearColumn(const ConstPixelView &src, int srcX, const PixelView &dst, const HalfOpenRect &r)
{
    if (srcX < 0 || srcX >= src.width)
        return;
    const HalfOpenRect c = Intersect(Intersect(r, {0, 0, dst.width, dst.height}), {r.left, 0, r.right, src.height});
    if (c.IsEmpty())
        return;
    const int bpp = dst.BytesPerPixel();
    const bool streaming = std::ptrdiff_t(c.Width()) * bpp * (c.bottom - c.top) > kStreamingBytes;
    const DripKernels &kernels = KernelsInUse(DripKernelVariants());
    const FillRowFn fill = streaming ? kernels.fillRowStreaming : kernels.fillRow;
    for (int y = c.top; y < c.bottom; ++y)
        fill(dst.Row(y) + std::ptrdiff_t(c.left) * bpp, src.Row(y) + std::ptrdiff_t(srcX) * bpp, c.Width(), bpp);
#if defined(__x86_64__)
    // Streaming stores are weakly ordered: done before anything reads the frame.
    if (streaming)
        _mm_sfence();
#endif
}

void SmearRow(const ConstPixelView &src, int srcY, const PixelView &dst, int top, int bottom)
{
    if (srcY < 0 || srcY >= src.height)
        return;
    top = std::max(top, 0);
    bottom = std::min(bottom, dst.height);
    const std::size_t bytes = std::size_t(std::min(src.stride, dst.stride));
    const std::uint8_t *s = src.Row(srcY);
    for (int y = top; y < bottom; ++y)
        std::memcpy(dst.Row(y), s, bytes);
}

}  // namespace lumetta
