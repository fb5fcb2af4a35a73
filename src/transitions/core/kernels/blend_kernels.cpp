// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/blend_kernels.h"

#include "transitions/core/kernels/detail/blend_levels.h"
#include "transitions/core/kernels/row_kernels.h"

#include <cassert>
#include <cstring>

#if defined(__x86_64__) || defined(__wasm_simd128__)
#include "transitions/core/kernels/detail/blend_kernels_simd.h"
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace lumetta {

using namespace blendrows;

void BlendRowC(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
               BlendWordFormat format)
{
    const WordLayout &layout = kLayouts[int(format)];
    const Row &row = kLevelRows[layout.narrow][level >= 1 && level <= 63 ? level : 0];
    for (int i = 0; i < words; ++i) {
        const std::uint32_t o = oldRow[i];
        const std::uint32_t n = newRow[i];
        if (o == n)
            continue;
        std::uint32_t mix = row.base == KOld ? o : row.base == KNew ? n : 0u;
        for (int t = 0; t < row.count; ++t) {
            const Term &term = row.terms[t];
            const std::uint32_t part = ((term.src == KOld ? o : n) >> term.shift) & layout.shiftMask[term.shift];
            mix = term.sign > 0 ? mix + part : mix - part;
        }
        out[i] = mix | layout.forceBits;
    }
}

void BlendRowWholeC(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                    BlendWordFormat format)
{
    for (int i = 0; i < words; ++i)
        if (oldRow[i] == newRow[i])
            out[i] = oldRow[i];
    BlendRowC(oldRow, newRow, out, words, level, format);
}

void PatternCopyRowC(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells)
{
    for (int x = 0; x < width; ++x)
        if ((cells >> (x & 7)) & 1u)
            std::memcpy(dst + x * bytesPerPixel, src + x * bytesPerPixel, std::size_t(bytesPerPixel));
}

#if defined(__x86_64__)
namespace {

struct Sse2
{
    using Reg = __m128i;
    static constexpr int kBytes = 16;
    static constexpr int kWords = 4;
    static Reg Load(const void *p) { return _mm_loadu_si128(static_cast<const __m128i *>(p)); }
    static void Store(void *p, Reg v) { _mm_storeu_si128(static_cast<__m128i *>(p), v); }
    static Reg Set1(std::uint32_t v) { return _mm_set1_epi32(int(v)); }
    static Reg Zero() { return _mm_setzero_si128(); }
    static Reg Add(Reg a, Reg b) { return _mm_add_epi32(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm_sub_epi32(a, b); }
    static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    template <int S>
    static Reg Srl(Reg a)
    {
        return _mm_srli_epi32(a, S);
    }
    // No byte lookup before SSSE3.
    static constexpr bool kLooksUpBytes = false;
    // mask ? a : b, bytewise
    static Reg Select(Reg mask, Reg a, Reg b)
    {
        return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
    }
    static void Fence() { _mm_sfence(); }
    // stream: p is aligned and the store may bypass the cache
    static void StoreWhereDifferent(std::uint32_t *p, Reg mix, Reg o, Reg n, bool stream)
    {
        const Reg equal = _mm_cmpeq_epi32(o, n);
        const int equalLanes = _mm_movemask_epi8(equal);
        if (equalLanes == 0xFFFF)
            return;
        if (equalLanes == 0 && stream)
            _mm_stream_si128(reinterpret_cast<__m128i *>(p), mix);
        else
            Store(p, equalLanes == 0 ? mix : Select(equal, Load(p), mix));
    }
    // Writes mix, or o where o and n agree; stream as above
    static void StoreWhole(std::uint32_t *p, Reg mix, Reg o, Reg n, bool stream)
    {
        const Reg value = Select(_mm_cmpeq_epi32(o, n), o, mix);
        if (stream)
            _mm_stream_si128(reinterpret_cast<__m128i *>(p), value);
        else
            Store(p, value);
    }
};

}  // namespace

void BlendRowSsE2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                  BlendWordFormat format)
{
    BlendRowVector<Sse2>(oldRow, newRow, out, words, level, format);
}

void BlendRowWholeSsE2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                       int level, BlendWordFormat format)
{
    BlendRowVector<Sse2, true>(oldRow, newRow, out, words, level, format);
}

void PatternCopyRowSsE2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells)
{
    PatternCopyRowVector<Sse2>(src, dst, width, bytesPerPixel, cells);
}
#endif

#if defined(__wasm_simd128__)
namespace {

// WebAssembly's 128-bit vectors: the web page's core mixes four words at a time.
struct Simd128
{
    using Reg = v128_t;
    static constexpr int kBytes = 16;
    static constexpr int kWords = 4;
    static Reg Load(const void *p) { return wasm_v128_load(p); }
    static void Store(void *p, Reg v) { wasm_v128_store(p, v); }
    static Reg Set1(std::uint32_t v) { return wasm_u32x4_splat(v); }
    static Reg Zero() { return wasm_i32x4_splat(0); }
    static Reg Add(Reg a, Reg b) { return wasm_i32x4_add(a, b); }
    static Reg Sub(Reg a, Reg b) { return wasm_i32x4_sub(a, b); }
    static Reg And(Reg a, Reg b) { return wasm_v128_and(a, b); }
    static Reg Or(Reg a, Reg b) { return wasm_v128_or(a, b); }
    template <int S>
    static Reg Srl(Reg a)
    {
        return wasm_u32x4_shr(a, S);
    }
    static constexpr bool kLooksUpBytes = false;
    // mask ? a : b, bitwise
    static Reg Select(Reg mask, Reg a, Reg b) { return wasm_v128_bitselect(a, b, mask); }
    // There is no store around the cache to order.
    static void Fence() {}
    static void StoreWhereDifferent(std::uint32_t *p, Reg mix, Reg o, Reg n, bool)
    {
        const Reg equal = wasm_i32x4_eq(o, n);
        if (wasm_i32x4_all_true(equal))
            return;
        Store(p, wasm_v128_any_true(equal) ? Select(equal, Load(p), mix) : mix);
    }
    static void StoreWhole(std::uint32_t *p, Reg mix, Reg o, Reg n, bool)
    {
        Store(p, Select(wasm_i32x4_eq(o, n), o, mix));
    }
};

void BlendRowSimd128(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                     int level, BlendWordFormat format)
{
    BlendRowVector<Simd128>(oldRow, newRow, out, words, level, format);
}

void BlendRowWholeSimd128(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                          int level, BlendWordFormat format)
{
    BlendRowVector<Simd128, true>(oldRow, newRow, out, words, level, format);
}

void PatternCopyRowSimd128(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                           std::uint8_t cells)
{
    PatternCopyRowVector<Simd128>(src, dst, width, bytesPerPixel, cells);
}

}  // namespace
#endif

namespace {

std::vector<BlendKernels> DetectVariants()
{
    std::vector<BlendKernels> variants{{"reference", &BlendRowC, &BlendRowWholeC, &PatternCopyRowC}};
#if defined(__x86_64__)
    variants.push_back({"sse2", &BlendRowSsE2, &BlendRowWholeSsE2, &PatternCopyRowSsE2});
    if (CpuHasAvx2())
        variants.push_back({"avx2", &BlendRowAvX2, &BlendRowWholeAvX2, &PatternCopyRowAvX2});
#endif
#if defined(__wasm_simd128__)
    variants.push_back({"simd128", &BlendRowSimd128, &BlendRowWholeSimd128, &PatternCopyRowSimd128});
#endif
    return variants;
}

}  // namespace

const std::vector<BlendKernels> &BlendKernelVariants()
{
    static const std::vector<BlendKernels> kVariants = DetectVariants();
    return kVariants;
}

void BlendRow(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
              BlendWordFormat format)
{
    KernelsInUse(BlendKernelVariants()).blendRow(oldRow, newRow, out, words, level, format);
}

void BlendRowWhole(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                   BlendWordFormat format)
{
    KernelsInUse(BlendKernelVariants()).blendRowWhole(oldRow, newRow, out, words, level, format);
}

void PatternCopyRow(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells)
{
    KernelsInUse(BlendKernelVariants()).patternCopyRow(src, dst, width, bytesPerPixel, cells);
}

bool BlendWordFormatOf(const ConstPixelView &image, BlendWordFormat *format)
{
    switch (image.layout) {
    case PixelLayout::Rgb888:
        *format = BlendWordFormat::Bytes;
        return true;
    case PixelLayout::Rgb32:
        *format = BlendWordFormat::Bytes32;
        return true;
    case PixelLayout::Rgb555:
        *format = BlendWordFormat::Rgb555;
        return true;
    case PixelLayout::Rgb565:
        *format = BlendWordFormat::Rgb565;
        return true;
    default:
        return false;
    }
}

namespace {

void BlendImagesWith(BlendRowFn blendRow, const ConstPixelView &oldImage, const ConstPixelView &newImage,
                     const PixelView &work, int level)
{
    assert(oldImage.width == work.width && newImage.width == work.width);
    assert(oldImage.height == work.height && newImage.height == work.height);
    assert(oldImage.layout == work.layout && newImage.layout == work.layout);
    BlendWordFormat format;
    if (!BlendWordFormatOf(work, &format))
        return;
    const auto *o = reinterpret_cast<const std::uint32_t *>(oldImage.bits);
    const auto *n = reinterpret_cast<const std::uint32_t *>(newImage.bits);
    auto *out = reinterpret_cast<std::uint32_t *>(work.bits);
    const std::ptrdiff_t stride = work.stride;
    if (oldImage.stride == stride && newImage.stride == stride) {
        blendRow(o, n, out, int(work.SizeInBytes() / 4), level, format);
        return;
    }
    const int words = (work.width * StorageBits(work.layout) + 31) / 32;
    for (int y = 0; y < work.height; ++y)
        blendRow(o + y * oldImage.stride / 4, n + y * newImage.stride / 4, out + y * stride / 4, words, level, format);
}

}  // namespace

void BlendImages(const ConstPixelView &oldImage, const ConstPixelView &newImage, const PixelView &work, int level)
{
    BlendImagesWith(KernelsInUse(BlendKernelVariants()).blendRow, oldImage, newImage, work, level);
}

void BlendImagesWhole(const ConstPixelView &oldImage, const ConstPixelView &newImage, const PixelView &work, int level)
{
    BlendImagesWith(KernelsInUse(BlendKernelVariants()).blendRowWhole, oldImage, newImage, work, level);
}

void PatternCopyImage(const ConstPixelView &src, const PixelView &work, const TilePattern &cells)
{
    assert(src.width == work.width && src.height == work.height);
    assert(StorageBits(src.layout) == StorageBits(work.layout) && StorageBits(work.layout) >= 8);
    const int bytesPerPixel = work.BytesPerPixel();
    for (int y = 0; y < work.height; ++y) {
        const std::uint8_t rowCells = cells.rows[y & 7];
        if (rowCells)
            PatternCopyRow(src.Row(y), work.Row(y), work.width, bytesPerPixel, rowCells);
    }
}

}  // namespace lumetta
