// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// Combination of two pictures through a 1-bit mask, one row at a time.
//
// A mask row is a run of bits, most significant bit of each byte leftmost; bit bitOffset + i
// selects pixel i. Pixel rows hold `width` pixels of `bpp` bits each (4, 8, 16 or 24, 32; 15-bit
// pictures use 16); 4-bit pixels are nibbles, high nibble first. Pointers need no alignment.
// Variants and the reference switch as in row_kernels.h.
namespace lumetta {

// In place: where the mask bit is set, dst takes the pixel of src; elsewhere dst is untouched.
using MaskCopyRowFn = void (*)(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width,
                               int bpp);

void MaskCopyRowC(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp);
void MaskCopyRowWords(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp);
void MaskCopyRow(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp);

// Two sources: dst := the pixel of newRow where the mask bit is set, else the pixel of oldRow.
// dst may be oldRow or newRow itself. The masked effects and the wipe's band both select so.
using MaskSelectRowFn = void (*)(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow,
                                 const std::uint8_t *oldRow, std::uint8_t *dst, int width, int bpp);

void MaskSelectRowC(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                     std::uint8_t *dst, int width, int bpp);
void MaskSelectRowWords(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow,
                         const std::uint8_t *oldRow, std::uint8_t *dst, int width, int bpp);
// 32-bit pixels four at a time in 128-bit vectors; other sizes take the word-wise version.
void MaskCopyRowVectors(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp);
void MaskSelectRowVectors(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow,
                          const std::uint8_t *oldRow, std::uint8_t *dst, int width, int bpp);
#if defined(__x86_64__)
// 32-bit pixels expand the mask bits in registers; other sizes take the word-wise version.
void MaskSelectRowAvX2(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                        std::uint8_t *dst, int width, int bpp);
#endif
void MaskSelectRow(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                   std::uint8_t *dst, int width, int bpp);

struct MaskKernels
{
    const char *name;
    MaskCopyRowFn copyRow;
    MaskSelectRowFn selectRow;
};

// The reference first, then every faster variant this CPU can run (row_kernels.h).
const std::vector<MaskKernels> &MaskKernelVariants();

// A picture's pixel rows as raw memory.
struct MaskPlane
{
    std::uint8_t *bits = nullptr;
    std::intptr_t stride = 0;  // bytes from one row to the next
};

// Combines rows [top, bottom) of width `width`: in place when oldPlane.bits equals dst.bits
// (or is null), else from two sources. Rows whose strides are exactly their packed size are
// walked as one block, which is what the 32-pixel rounding of masked bitmaps makes possible.
void CombineMaskedRows(const MaskPlane &mask, const MaskPlane &newPlane, const MaskPlane &oldPlane,
                       const MaskPlane &dst, int width, int top, int bottom, int bpp);

}  // namespace lumetta
