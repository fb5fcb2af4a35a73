// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"

#include <cstdint>
#include <vector>

// The drip's smearing: one line of the new picture repeated over the unsettled area.
namespace lumetta {

// Writes the pixel at pixel (bytesPerPixel bytes) into width pixels of dst.
using FillRowFn = void (*)(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);

void FillRowC(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);
void FillRowWords(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);
void FillRowAvX2(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);
// The same with stores that bypass the caches where they can; the caller fences (SmearColumn).
void FillRowStreamingAvX2(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);
void FillRow(std::uint8_t *dst, const std::uint8_t *pixel, int width, int bytesPerPixel);

struct DripKernels
{
    const char *name;
    FillRowFn fillRow;
    // For areas larger than the caches, whose rows are gone from them before the next frame.
    FillRowFn fillRowStreaming;
};

// The reference first, then every faster variant this CPU can run (row_kernels.h).
const std::vector<DripKernels> &DripKernelVariants();

// Stretches column srcX of src over rectangle r of dst: every pixel of row y in r takes src's
// pixel (srcX, y). Rows outside either image are skipped.
void SmearColumn(const ConstPixelView &src, int srcX, const PixelView &dst, const HalfOpenRect &r);

// Copies row srcY of src, whole, into rows top..bottom-1 of dst (clipped to dst).
void SmearRow(const ConstPixelView &src, int srcY, const PixelView &dst, int top, int bottom);

}  // namespace lumetta
