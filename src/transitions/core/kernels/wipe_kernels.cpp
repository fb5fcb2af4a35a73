// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/wipe_kernels.h"

#include "transitions/core/kernels/row_kernels.h"

#include <cstring>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace lumetta {

void SelectRowBytesC(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                     std::uint8_t *dst, std::ptrdiff_t count)
{
    for (std::ptrdiff_t i = 0; i < count; ++i)
        dst[i] = std::uint8_t((newRow[i] & select[i]) | (oldRow[i] & ~select[i]));
}

#if defined(__x86_64__)
void SelectRowBytesSsE2(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                        std::uint8_t *dst, std::ptrdiff_t count)
{
    std::ptrdiff_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i *>(oldRow + i));
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i *>(newRow + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i *>(select + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i),
                         _mm_or_si128(_mm_and_si128(m, n), _mm_andnot_si128(m, o)));
    }
    SelectRowBytesC(oldRow + i, newRow + i, select + i, dst + i, count - i);
}
#endif

namespace {

std::vector<WipeKernels> DetectVariants()
{
    std::vector<WipeKernels> variants{{"reference", &SelectRowBytesC}};
#if defined(__x86_64__)
    variants.push_back({"sse2", &SelectRowBytesSsE2});
    if (CpuHasAvx2())
        variants.push_back({"avx2", &SelectRowBytesAvX2});
#endif
    return variants;
}

}  // namespace

const std::vector<WipeKernels> &WipeKernelVariants()
{
    static const std::vector<WipeKernels> kVariants = DetectVariants();
    return kVariants;
}

void SelectRowBytes(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                    std::uint8_t *dst, std::ptrdiff_t count)
{
    KernelsInUse(WipeKernelVariants()).selectRowBytes(oldRow, newRow, select, dst, count);
}

void ExpandMaskRow(const std::uint8_t *maskBits, int bitOffset, std::uint8_t *out, int width, int bytesPerPixel)
{
    for (int i = 0; i < width; ++i) {
        const int bit = bitOffset + i;
        const std::uint8_t v = ((maskBits[bit >> 3] >> (7 - (bit & 7))) & 1) ? 0xFF : 0x00;
        std::memset(out + std::ptrdiff_t(i) * bytesPerPixel, v, std::size_t(bytesPerPixel));
    }
}

}  // namespace lumetta
