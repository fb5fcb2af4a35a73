// SPDX-License-Identifier: GPL-3.0-or-later
// The drip's row fill on 32-byte registers; compiled with -mavx2 and called only when the CPU has it.
#include "transitions/core/kernels/drip_kernels.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace lumetta {

namespace {

// Fills count bytes at dst with value, a register of whole pixels of 2 or 4 bytes. With align,
// one unaligned store comes first and the rest start on 32-byte boundaries, which keeps the
// pixels in step only when dst lies on a pixel boundary.
template <bool Streaming>
void FillRegisters(std::uint8_t *dst, __m256i value, std::size_t count, bool align)
{
    std::size_t i = 0;
    if (align && count >= 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst), value);
        i = 32 - (reinterpret_cast<std::uintptr_t>(dst) & 31);
        for (; i + 32 <= count; i += 32) {
            if constexpr (Streaming)
                _mm256_stream_si256(reinterpret_cast<__m256i *>(dst + i), value);
            else
                _mm256_store_si256(reinterpret_cast<__m256i *>(dst + i), value);
        }
    }
    alignas(32) std::uint8_t tail[32];
    _mm256_store_si256(reinterpret_cast<__m256i *>(tail), value);
    for (; i + 32 <= count; i += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), value);
    std::memcpy(dst + i, tail, count - i);
}

// Fills count bytes at dst with the pixel of 2 or 4 bytes at pixel.
template <bool Streaming, class Pixel>
void FillPixels(std::uint8_t *dst, const std::uint8_t *pixel, std::size_t count)
{
    Pixel v;
    std::memcpy(&v, pixel, sizeof v);
    const __m256i value = sizeof v == 2 ? _mm256_set1_epi16(short(v)) : _mm256_set1_epi32(int(v));
    FillRegisters<Streaming>(dst, value, count, reinterpret_cast<std::uintptr_t>(dst) % sizeof v == 0);
}

template <bool Streaming>
void FillRow(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    if (width <= 0)
        return;
    const std::size_t total = std::size_t(width) * std::size_t(bytesPerPixel);
    switch (bytesPerPixel) {
    case 1:
        std::memset(dst, pixel[0], total);
        return;
    case 2:
        FillPixels<Streaming, std::uint16_t>(dst, pixel, total);
        return;
    case 4:
        FillPixels<Streaming, std::uint32_t>(dst, pixel, total);
        return;
    default:
        break;
    }
    // 3-byte pixels: 96 bytes hold 32 of them, three registers repeat the pixel.
    alignas(32) std::uint8_t pattern[96];
    for (std::size_t i = 0; i < sizeof pattern; i += 3)
        std::memcpy(pattern + i, pixel, 3);
    const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i *>(pattern));
    const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i *>(pattern + 32));
    const __m256i c = _mm256_load_si256(reinterpret_cast<const __m256i *>(pattern + 64));
    std::size_t i = 0;
    for (; i + sizeof pattern <= total; i += sizeof pattern) {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i + 32), b);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i + 64), c);
    }
    std::memcpy(dst + i, pattern, total - i);
}

}  // namespace

void FillRowAvX2(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    FillRow<false>(dst, pixel, width, bytesPerPixel);
}

void FillRowStreamingAvX2(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel)
{
    FillRow<true>(dst, pixel, width, bytesPerPixel);
}

}  // namespace lumetta
