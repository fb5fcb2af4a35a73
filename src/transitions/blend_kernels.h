#pragma once

#include <array>
#include <cstdint>
#include <vector>

class QImage;

// Row kernels of the blend and the pattern dissolves. Every kernel has a plain reference and,
// on x86-64, SSE2 and AVX2 versions chosen once at start-up; the dispatching entry points use the
// reference while ReferenceKernels() (teRows.h) is set.
namespace lumetta {

// How the channels sit in a 32-bit word of pixel data.
enum class BlendWordFormat {
    Bytes,   // every byte a channel (pf24bit)
    Bytes32, // every byte a channel, top byte forced to 0xFF (pf32bit, Format_RGB32)
    Rgb555,  // two pixels of fields 10-14, 5-9, 0-4 (pf15bit)
    Rgb565,  // two pixels of fields 11-15, 5-10, 0-4 (pf16bit)
};

// out[i] := level-k mix of old[i] and new[i] (new weighs k/64; k outside 1..63 mixes as 32);
// out[i] is not written where old[i] == new[i].
using BlendRowFn = void (*)(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out,
                            int words, int level, BlendWordFormat format);

void BlendRowReference(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                       int level, BlendWordFormat format);
#if defined(__x86_64__)
void BlendRowSse2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                  int level, BlendWordFormat format);
void BlendRowAvx2(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
                  int level, BlendWordFormat format);
#endif
void BlendRow(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
              BlendWordFormat format);

// dst pixel x := src pixel x wherever bit (x mod 8) of cells is set; other pixels untouched.
using PatternCopyRowFn = void (*)(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                                  std::uint8_t cells);

void PatternCopyRowReference(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                             std::uint8_t cells);
#if defined(__x86_64__)
void PatternCopyRowSse2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                        std::uint8_t cells);
void PatternCopyRowAvx2(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel,
                        std::uint8_t cells);
#endif
void PatternCopyRow(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells);

struct KernelVariant {
    const char *name;
    BlendRowFn blend;
    PatternCopyRowFn patternCopy;
};

// The reference first, then every faster variant this CPU can run.
std::vector<KernelVariant> AvailableKernels();

// The variant the dispatching entry points use now.
const char *ActiveKernelName();

// An 8 x 8 pattern tiled over a picture: bit x of rows[y] is cell (x, y), set = on.
struct TilePattern {
    std::array<std::uint8_t, 8> rows{};

    bool cell(int x, int y) const { return (rows[y & 7] >> (x & 7)) & 1u; }
    void set(int x, int y) { rows[y & 7] |= std::uint8_t(1u << (x & 7)); }
    int count() const;
    bool operator==(const TilePattern &) const = default;
};

// Order in which the cells of the ordered-dither pattern turn on: kOrderedDither[y][x] is 1..64.
extern const std::array<std::array<std::uint8_t, 8>, 8> kOrderedDither;

// Cells of the ordered-dither pattern whose order number is 1..level.
TilePattern OrderedDitherCells(int level);

// Channel layout of a picture's words for the mix; false for formats the mix does not handle.
bool BlendWordFormatOf(const QImage &image, BlendWordFormat *format);

// work := level-k mix of oldImage and newImage, word by word over the whole pixel buffers; equal
// words are not written. All three pictures share size and format (15, 16, 24 or 32 bits).
void BlendImages(const QImage &oldImage, const QImage &newImage, QImage &work, int level);

// work pixel (x, y) := src pixel (x, y) wherever cell (x mod 8, y mod 8) of cells is on.
// Both pictures share size and a format of 8, 16, 24 or 32 bits per pixel.
void PatternCopyImage(const QImage &src, QImage &work, const TilePattern &cells);

}  // namespace lumetta
