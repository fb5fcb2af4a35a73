// SPDX-License-Identifier: GPL-3.0-or-later
// Built with -mavx2; reached only after the CPU reported AVX2.

#include "transitions/core/kernels/detail/blend_kernels_simd.h"

#include <immintrin.h>

namespace lumetta {

using namespace blendrows;

namespace {

struct Avx2
{
    using Reg = __m256i;
    static constexpr int kBytes = 32;
    static constexpr int kWords = 8;
    static Reg Load(const void *p) { return _mm256_loadu_si256(static_cast<const __m256i *>(p)); }
    static void Store(void *p, Reg v) { _mm256_storeu_si256(static_cast<__m256i *>(p), v); }
    static Reg Set1(std::uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static Reg Zero() { return _mm256_setzero_si256(); }
    static Reg Add(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm256_sub_epi32(a, b); }
    static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    template <int S>
    static Reg Srl(Reg a)
    {
        return _mm256_srli_epi32(a, S);
    }
    // mask ? a : b, bytewise (mask bytes are all ones or all zeros)
    static Reg Select(Reg mask, Reg a, Reg b) { return _mm256_blendv_epi8(b, a, mask); }
    // Bytes are looked up in 16-entry tables (vpshufb).
    static constexpr bool kLooksUpBytes = true;
    // 16 bytes in both halves of a register, for LookUpHigh and LookUpLow
    static Reg Table16(const std::uint8_t *table)
    {
        return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(table)));
    }
    // Each byte of a replaced by the table's entry for its high (or low) nibble
    static Reg LookUpHigh(Reg table, Reg a)
    {
        return _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(a, 4), _mm256_set1_epi8(0x0F)));
    }
    static Reg LookUpLow(Reg table, Reg a)
    {
        return _mm256_shuffle_epi8(table, _mm256_and_si256(a, _mm256_set1_epi8(0x0F)));
    }
    static Reg AddBytes(Reg a, Reg b) { return _mm256_add_epi8(a, b); }
    static void Fence() { _mm_sfence(); }
    // stream: p is aligned and the store may bypass the cache
    static void StoreWhereDifferent(std::uint32_t *p, Reg mix, Reg o, Reg n, bool stream)
    {
        const Reg equal = _mm256_cmpeq_epi32(o, n);
        const int equalLanes = _mm256_movemask_epi8(equal);
        if (equalLanes == -1)
            return;
        if (equalLanes == 0 && stream)
            _mm256_stream_si256(reinterpret_cast<__m256i *>(p), mix);
        else if (equalLanes == 0)
            Store(p, mix);
        else
            _mm256_maskstore_epi32(reinterpret_cast<int *>(p), _mm256_xor_si256(equal, _mm256_set1_epi32(-1)), mix);
    }
    // Writes mix, or o where o and n agree; stream as above
    static void StoreWhole(std::uint32_t *p, Reg mix, Reg o, Reg n, bool stream)
    {
        const Reg value = Select(_mm256_cmpeq_epi32(o, n), o, mix);
        if (stream)
            _mm256_stream_si256(reinterpret_cast<__m256i *>(p), value);
        else
            Store(p, value);
    }
};

}  // namespace

void BlendRowAvX2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                   BlendWordFormat format)
{
    BlendRowVector<Avx2>(oldRow, newRow, out, words, level, format);
}

void BlendRowWholeAvX2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                        int level, BlendWordFormat format)
{
    BlendRowVector<Avx2, true>(oldRow, newRow, out, words, level, format);
}

void PatternCopyRowAvX2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells)
{
    PatternCopyRowVector<Avx2>(src, dst, width, bytesPerPixel, cells);
}

}  // namespace lumetta
