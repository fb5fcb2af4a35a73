// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <vector>

// The wipe's band composition through a mask widened to one 0x00/0xFF byte per pixel byte. The
// 1-bit form of the same selection is MaskSelectRow (mask_kernels.h).
namespace lumetta {

// dst := (newRow & select) | (oldRow & ~select) over count bytes; select holds 0x00 or 0xFF per byte.
using SelectRowBytesFn = void (*)(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst,
                                  qsizetype count);

void SelectRowBytesC(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst, qsizetype count);
#if defined(__x86_64__)
void SelectRowBytesSsE2(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst, qsizetype count);
void SelectRowBytesAvX2(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst, qsizetype count);
#endif
void SelectRowBytes(const uchar *oldRow, const uchar *newRow, const uchar *select, uchar *dst, qsizetype count);

struct WipeKernels
{
    const char *name;
    SelectRowBytesFn selectRowBytes;
};

// The reference first, then every faster variant this CPU can run (row_kernels.h).
const std::vector<WipeKernels> &WipeKernelVariants();

// Widens width mask bits from bitOffset into 0x00/0xFF bytes, bytesPerPixel per bit.
void ExpandMaskRow(const uchar *maskBits, int bitOffset, uchar *out, int width, int bytesPerPixel);

}  // namespace lumetta
