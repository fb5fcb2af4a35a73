// SPDX-License-Identifier: GPL-3.0-or-later
// The band selection on 32-byte registers; compiled with -mavx2 and called only when the CPU has it.
#include "transitions/core/kernels/wipe_kernels.h"

#include <immintrin.h>

namespace lumetta {

void SelectRowBytesAvX2(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                        std::uint8_t *dst, std::ptrdiff_t count)
{
    std::ptrdiff_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i o = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(oldRow + i));
        const __m256i n = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(newRow + i));
        const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(select + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), _mm256_blendv_epi8(o, n, m));
    }
    SelectRowBytesSsE2(oldRow + i, newRow + i, select + i, dst + i, count - i);
}

}  // namespace lumetta
