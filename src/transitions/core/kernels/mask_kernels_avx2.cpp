// SPDX-License-Identifier: GPL-3.0-or-later
// The 1-bit selection of 32-bit pixels on 32-byte registers; compiled with -mavx2 and called only
// when the CPU has it.
#include "transitions/core/kernels/mask_kernels.h"

#include <immintrin.h>

#include <cstring>

namespace lumetta {

namespace {

// Mask bits bit .. bit + count - 1 (most significant first, count <= 8) moved to the top of a byte;
// reads the next mask byte only when those bits reach into it.
inline unsigned MaskByte(const std::uint8_t *maskBits, int bit, int count)
{
    const int shift = bit & 7;
    unsigned v = unsigned(maskBits[bit >> 3]) << 8;
    if (shift + count > 8)
        v |= maskBits[(bit >> 3) + 1];
    return (v << shift) >> 8;
}

}  // namespace

void MaskSelectRowAvX2(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                        std::uint8_t *dst, int width, int bpp)
{
    if (bpp != 32)
        return MaskSelectRowWords(mask, bitOffset, newRow, oldRow, dst, width, bpp);
    // Lane k tests bit 7 - k of the mask byte: pixel k of a group of eight (or four).
    const __m256i laneBits = _mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01);
    const __m128i halfBits = _mm_setr_epi32(0x80, 0x40, 0x20, 0x10);
    const auto *o = reinterpret_cast<const std::uint32_t *>(oldRow);
    const auto *n = reinterpret_cast<const std::uint32_t *>(newRow);
    auto *d = reinterpret_cast<std::uint32_t *>(dst);
    int i = 0;
    for (; i + 8 <= width; i += 8) {
        const __m256i bits = _mm256_and_si256(_mm256_set1_epi32(int(MaskByte(mask, bitOffset + i, 8))), laneBits);
        const __m256i sel = _mm256_cmpeq_epi32(bits, laneBits);
        const __m256i ov = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(o + i));
        const __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(n + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i), _mm256_blendv_epi8(ov, nv, sel));
    }
    // Masked stores are slow on some CPUs: a leftover group of four takes a 16-byte register and
    // the last up to three pixels go one by one.
    if (i + 4 <= width) {
        const __m128i bits = _mm_and_si128(_mm_set1_epi32(int(MaskByte(mask, bitOffset + i, 4))), halfBits);
        const __m128i sel = _mm_cmpeq_epi32(bits, halfBits);
        const __m128i ov = _mm_loadu_si128(reinterpret_cast<const __m128i *>(o + i));
        const __m128i nv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(n + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), _mm_blendv_epi8(ov, nv, sel));
        i += 4;
    }
    if (i < width) {
        const unsigned bits = MaskByte(mask, bitOffset + i, width - i);
        for (int k = 0; i < width; ++i, ++k)
            std::memcpy(d + i, ((bits << k) & 0x80 ? n : o) + i, 4);
    }
}

}  // namespace lumetta
