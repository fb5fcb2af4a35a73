// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/kernels/tile_pattern.h"
#include "transitions/core/pixels/pixel_view.h"

#include <cstdint>
#include <vector>

// Row kernels of the blend and the pattern dissolves: a plain reference and, on x86-64, SSE2 and
// AVX2 versions (row_kernels.h); in WebAssembly, a 128-bit SIMD version.
namespace lumetta {

// How the channels sit in a 32-bit word of pixel data.
enum class BlendWordFormat {
    Bytes,  // every byte a channel (pf24bit)
    Bytes32,  // every byte a channel, top byte forced to 0xFF (pf32bit, Format_RGB32)
    Rgb555,  // two pixels of fields 10-14, 5-9, 0-4 (pf15bit)
    Rgb565,  // two pixels of fields 11-15, 5-10, 0-4 (pf16bit)
};

// out[i] := level-k mix of old[i] and new[i] (new weighs k/64; k outside 1..63 mixes as 32);
// out[i] is not written where old[i] == new[i].
using BlendRowFn = void (*)(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                            int level, BlendWordFormat format);

void BlendRowC(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
               BlendWordFormat format);
#if defined(__x86_64__)
void BlendRowSsE2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                  BlendWordFormat format);
void BlendRowAvX2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                  BlendWordFormat format);
#endif
void BlendRow(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
              BlendWordFormat format);

// The same mix written to every word: out[i] := the mix, or old[i] where the words are equal.
// What out held before does not matter; writing every word in one go is cheaper than leaving some.
void BlendRowWholeC(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                    BlendWordFormat format);
#if defined(__x86_64__)
void BlendRowWholeSsE2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                       int level, BlendWordFormat format);
void BlendRowWholeAvX2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                       int level, BlendWordFormat format);
#endif
void BlendRowWhole(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                   BlendWordFormat format);

// dst pixel x := src pixel x wherever bit (x mod 8) of cells is set; other pixels untouched.
using PatternCopyRowFn = void (*)(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                                  std::uint8_t cells);

void PatternCopyRowC(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells);
#if defined(__x86_64__)
void PatternCopyRowSsE2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells);
void PatternCopyRowAvX2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells);
#endif
void PatternCopyRow(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells);

struct BlendKernels
{
    const char *name;
    BlendRowFn blendRow;
    BlendRowFn blendRowWhole;
    PatternCopyRowFn patternCopyRow;
};

// The reference first, then every faster variant this CPU can run (row_kernels.h).
const std::vector<BlendKernels> &BlendKernelVariants();

// Channel layout of a picture's words for the mix; false for formats the mix does not handle.
bool BlendWordFormatOf(const ConstPixelView &image, BlendWordFormat *format);

// work := level-k mix of oldImage and newImage, word by word over the whole pixel buffers; equal
// words are not written. All three pictures share size and format (15, 16, 24 or 32 bits).
void BlendImages(const ConstPixelView &oldImage, const ConstPixelView &newImage, const PixelView &work, int level);
// The same with BlendRowWhole: every word of work is written.
void BlendImagesWhole(const ConstPixelView &oldImage, const ConstPixelView &newImage, const PixelView &work, int level);

// work pixel (x, y) := src pixel (x, y) wherever cell (x mod 8, y mod 8) of cells is on.
// Both pictures share size and a format of 8, 16, 24 or 32 bits per pixel.
void PatternCopyImage(const ConstPixelView &src, const PixelView &work, const TilePattern &cells);

}  // namespace lumetta
