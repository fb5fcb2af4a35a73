// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include <vector>

// The wipe's band composition through a mask widened to one 0x00/0xFF byte per pixel byte. The
// 1-bit form of the same selection is MaskSelectRow (mask_kernels.h).
namespace lumetta {

// dst := (newRow & select) | (oldRow & ~select) over count bytes; select holds 0x00 or 0xFF per byte.
using SelectRowBytesFn = void (*)(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                                  std::uint8_t *dst, std::ptrdiff_t count);

void SelectRowBytesC(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                     std::uint8_t *dst, std::ptrdiff_t count);
#if defined(__x86_64__)
void SelectRowBytesSsE2(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                        std::uint8_t *dst, std::ptrdiff_t count);
void SelectRowBytesAvX2(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                        std::uint8_t *dst, std::ptrdiff_t count);
#endif
void SelectRowBytes(const std::uint8_t *oldRow, const std::uint8_t *newRow, const std::uint8_t *select,
                    std::uint8_t *dst, std::ptrdiff_t count);

struct WipeKernels
{
    const char *name;
    SelectRowBytesFn selectRowBytes;
};

// The reference first, then every faster variant this CPU can run (row_kernels.h).
const std::vector<WipeKernels> &WipeKernelVariants();

// Widens width mask bits from bitOffset into 0x00/0xFF bytes, bytesPerPixel per bit.
void ExpandMaskRow(const std::uint8_t *maskBits, int bitOffset, std::uint8_t *out, int width, int bytesPerPixel);

}  // namespace lumetta
