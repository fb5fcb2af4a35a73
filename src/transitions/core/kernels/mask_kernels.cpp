// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/mask_kernels.h"

#include "transitions/core/kernels/row_kernels.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumetta {
namespace {

bool MaskBit(const std::uint8_t *mask, int i)
{
    return mask[i >> 3] & (0x80 >> (i & 7));
}

// 4-bit pixels: pixel i lives in the high nibble of byte i / 2 when i is even.
std::uint8_t NibbleMask(int i)
{
    return (i & 1) ? 0x0F : 0xF0;
}

// For every mask byte, the byte mask over the 8 pixels it covers (bpp bytes): all bits of a
// pixel's bytes set when its mask bit is set. Follows from the selection rule alone.
template <int Bpp>
struct ByteTable
{
    static constexpr int kBytes = Bpp;  // 8 pixels of Bpp bits
    std::array<std::array<std::uint8_t, kBytes>, 256> rows{};

    constexpr ByteTable()
    {
        for (int m = 0; m < 256; ++m) {
            for (int px = 0; px < 8; ++px) {
                if (!(m & (0x80 >> px)))
                    continue;
                if constexpr (Bpp == 4) {
                    rows[m][px / 2] |= (px & 1) ? 0x0F : 0xF0;
                } else {
                    for (int b = 0; b < Bpp / 8; ++b)
                        rows[m][px * (Bpp / 8) + b] = 0xFF;
                }
            }
        }
    }
};

template <int Bpp>
constexpr ByteTable<Bpp> kTable{};

// out := a ^ ((a ^ b) & m) over the 8 pixels of one mask byte, word by word.
template <int Bpp>
inline void BlendGroup(std::uint8_t maskByte, const std::uint8_t *b, const std::uint8_t *a, std::uint8_t *out)
{
    const std::uint8_t *m = kTable<Bpp>.rows[maskByte].data();
    if constexpr (Bpp == 4) {
        std::uint32_t mw, aw, bw;
        std::memcpy(&mw, m, 4);
        std::memcpy(&aw, a, 4);
        std::memcpy(&bw, b, 4);
        aw ^= (aw ^ bw) & mw;
        std::memcpy(out, &aw, 4);
    } else {
        for (int w = 0; w < Bpp / 8; ++w) {
            std::uint64_t mw, aw, bw;
            std::memcpy(&mw, m + 8 * w, 8);
            std::memcpy(&aw, a + 8 * w, 8);
            std::memcpy(&bw, b + 8 * w, 8);
            aw ^= (aw ^ bw) & mw;
            std::memcpy(out + 8 * w, &aw, 8);
        }
    }
}

inline std::uint32_t MaskWord(const std::uint8_t *mask)
{
    std::uint32_t w;
    std::memcpy(&w, mask, 4);
    return w;
}

// Fast in-place copy over whole mask bytes; returns the number of pixels handled.
template <int Bpp>
int CopyGroups(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width)
{
    constexpr int kBytes = Bpp;  // per mask byte
    const int groups = width / 8;
    int g = 0;
    while (g < groups) {
        if (g + 8 <= groups) {  // empty stretches are the common case of a shape's mask
            std::uint64_t pair;
            std::memcpy(&pair, mask + g, 8);
            if (pair == 0) {
                g += 8;
                continue;
            }
        }
        if (g + 4 <= groups) {
            const std::uint32_t word = MaskWord(mask + g);
            if (word == 0) {
                g += 4;
                continue;
            }
            if (word == 0xFFFFFFFFu) {
                std::memcpy(dst + g * kBytes, src + g * kBytes, 4 * kBytes);
                g += 4;
                continue;
            }
        }
        const std::uint8_t m = mask[g];
        if (m == 0xFF)
            std::memcpy(dst + g * kBytes, src + g * kBytes, kBytes);
        else if (m != 0)
            BlendGroup<Bpp>(m, src + g * kBytes, dst + g * kBytes, dst + g * kBytes);
        ++g;
    }
    return groups * 8;
}

// Fast two-source select over whole mask bytes; returns the number of pixels handled.
template <int Bpp>
int SelectGroups(const std::uint8_t *mask, const std::uint8_t *newRow, const std::uint8_t *oldRow, std::uint8_t *dst,
                 int width)
{
    constexpr int kBytes = Bpp;
    const int groups = width / 8;
    auto copyFrom = [&](const std::uint8_t *from, int g, int count) {
        if (from != dst)
            std::memmove(dst + g * kBytes, from + g * kBytes, count * kBytes);
    };
    int g = 0;
    while (g < groups) {
        if (g + 4 <= groups) {
            const std::uint32_t word = MaskWord(mask + g);
            if (word == 0 || word == 0xFFFFFFFFu) {
                copyFrom(word ? newRow : oldRow, g, 4);
                g += 4;
                continue;
            }
        }
        const std::uint8_t m = mask[g];
        if (m == 0 || m == 0xFF)
            copyFrom(m ? newRow : oldRow, g, 1);
        else
            BlendGroup<Bpp>(m, newRow + g * kBytes, oldRow + g * kBytes, dst + g * kBytes);
        ++g;
    }
    return groups * 8;
}

template <int Bpp>
void CopyRowFast(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width)
{
    const int done = CopyGroups<Bpp>(mask, src, dst, width);
    const int offset = done / 8 * Bpp;
    MaskCopyRowC(mask + done / 8, src + offset, dst + offset, width - done, Bpp);
}

template <int Bpp>
void SelectRowFast(const std::uint8_t *mask, const std::uint8_t *newRow, const std::uint8_t *oldRow, std::uint8_t *dst,
                   int width)
{
    const int done = SelectGroups<Bpp>(mask, newRow, oldRow, dst, width);
    const int offset = done / 8 * Bpp;
    MaskSelectRowC(mask + done / 8, 0, newRow + offset, oldRow + offset, dst + offset, width - done, Bpp);
}

int BppOfKernel(int bpp)
{
    return bpp == 15 ? 16 : bpp;
}

// Four 32-bit pixels in one 128-bit register through the compiler's generic vectors: SSE2 on the
// desktop, simd128 in WebAssembly, where the word-wise version has no wide registers to use.
using Pixels4 = std::uint32_t __attribute__((vector_size(16)));

// Lane k tests bit 7 - k of a mask byte (the first four pixels of its eight), then bit 3 - k.
constexpr Pixels4 kFirstHalfBits = {0x80, 0x40, 0x20, 0x10};
constexpr Pixels4 kSecondHalfBits = {0x08, 0x04, 0x02, 0x01};

inline Pixels4 LoadPixels(const std::uint8_t *p)
{
    Pixels4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// dst := the pixel of b where its bit of maskByte is set, else the pixel of a, four pixels at once.
inline void SelectFour(std::uint32_t maskByte, Pixels4 halfBits, const std::uint8_t *b, const std::uint8_t *a,
                       std::uint8_t *dst)
{
    const Pixels4 splat = {maskByte, maskByte, maskByte, maskByte};
    const auto chosen = Pixels4((splat & halfBits) != 0);
    const Pixels4 av = LoadPixels(a);
    const Pixels4 out = av ^ ((av ^ LoadPixels(b)) & chosen);
    std::memcpy(dst, &out, sizeof out);
}

// The eight pixels of one mask byte.
inline void SelectEight(std::uint32_t maskByte, const std::uint8_t *b, const std::uint8_t *a, std::uint8_t *dst)
{
    SelectFour(maskByte, kFirstHalfBits, b, a, dst);
    SelectFour(maskByte, kSecondHalfBits, b + 16, a + 16, dst + 16);
}

// Whether the Count mask bytes at mask (a multiple of 8) are all 0.
template <int Count>
inline bool MaskBytesClear(const std::uint8_t *mask)
{
    std::uint64_t any = 0;
    for (int i = 0; i < Count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, mask + i, 8);
        any |= word;
    }
    return any == 0;
}

// Mask bits bit .. bit + 7 (most significant first) as one byte, from one or two mask bytes.
inline std::uint32_t MaskByteAt(const std::uint8_t *mask, int bit)
{
    const int shift = bit & 7;
    if (shift == 0)
        return mask[bit >> 3];
    const std::uint32_t pair = std::uint32_t(mask[bit >> 3]) << 8 | mask[(bit >> 3) + 1];
    return (pair << shift) >> 8 & 0xFF;
}

}  // namespace

void MaskCopyRowC(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp)
{
    bpp = BppOfKernel(bpp);
    if (bpp == 4) {
        for (int i = 0; i < width; ++i) {
            if (MaskBit(mask, i)) {
                const std::uint8_t keep = NibbleMask(i);
                dst[i / 2] = std::uint8_t((dst[i / 2] & ~keep) | (src[i / 2] & keep));
            }
        }
        return;
    }
    const int bytes = bpp / 8;
    for (int i = 0; i < width; ++i) {
        if (MaskBit(mask, i))
            std::memcpy(dst + i * bytes, src + i * bytes, bytes);
    }
}

void MaskSelectRowC(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                     std::uint8_t *dst, int width, int bpp)
{
    bpp = BppOfKernel(bpp);
    if (bpp == 4) {
        for (int i = 0; i < width; ++i) {
            // Named before indexing: GCC 12 miscompiles (a ? p : q)[n] under -fsanitize=undefined.
            const std::uint8_t *row = MaskBit(mask, bitOffset + i) ? newRow : oldRow;
            const std::uint8_t from = row[i / 2];
            const std::uint8_t keep = NibbleMask(i);
            dst[i / 2] = std::uint8_t((dst[i / 2] & ~keep) | (from & keep));
        }
        return;
    }
    const int bytes = bpp / 8;
    for (int i = 0; i < width; ++i) {
        const std::uint8_t *from = MaskBit(mask, bitOffset + i) ? newRow : oldRow;
        if (from != dst)
            std::memcpy(dst + i * bytes, from + i * bytes, bytes);
    }
}

void MaskCopyRowWords(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp)
{
    switch (BppOfKernel(bpp)) {
    case 4:
        return CopyRowFast<4>(mask, src, dst, width);
    case 8:
        return CopyRowFast<8>(mask, src, dst, width);
    case 16:
        return CopyRowFast<16>(mask, src, dst, width);
    case 24:
        return CopyRowFast<24>(mask, src, dst, width);
    case 32:
        return CopyRowFast<32>(mask, src, dst, width);
    default:
        return;
    }
}

void MaskSelectRowWords(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow,
                         const std::uint8_t *oldRow, std::uint8_t *dst, int width, int bpp)
{
    bpp = BppOfKernel(bpp);
    mask += bitOffset >> 3;
    bitOffset &= 7;
    if (bitOffset != 0 && width > 0) {
        // The pixels before the next whole mask byte go one by one; an odd count of them would
        // leave 4-bit pixels off their byte, so such rows go one by one to the end.
        const int lead = std::min(width, 8 - bitOffset);
        if (bpp == 4 && (lead & 1))
            return MaskSelectRowC(mask, bitOffset, newRow, oldRow, dst, width, bpp);
        MaskSelectRowC(mask, bitOffset, newRow, oldRow, dst, lead, bpp);
        const int skip = lead * bpp / 8;
        mask += 1;
        newRow += skip;
        oldRow += skip;
        dst += skip;
        width -= lead;
    }
    if (width <= 0)
        return;
    switch (bpp) {
    case 4:
        return SelectRowFast<4>(mask, newRow, oldRow, dst, width);
    case 8:
        return SelectRowFast<8>(mask, newRow, oldRow, dst, width);
    case 16:
        return SelectRowFast<16>(mask, newRow, oldRow, dst, width);
    case 24:
        return SelectRowFast<24>(mask, newRow, oldRow, dst, width);
    case 32:
        return SelectRowFast<32>(mask, newRow, oldRow, dst, width);
    default:
        return;
    }
}

void MaskCopyRowVectors(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp)
{
    if (BppOfKernel(bpp) != 32)
        return MaskCopyRowWords(mask, src, dst, width, bpp);
    const int groups = width / 8;
    int g = 0;
    while (g < groups) {
        // Empty stretches are the common case of a shape's mask: skipped 32 or 8 mask bytes at once.
        if (g + 32 <= groups && MaskBytesClear<32>(mask + g)) {
            g += 32;
            continue;
        }
        const int end = std::min(g + 8, groups);
        if (end - g == 8 && MaskBytesClear<8>(mask + g)) {
            g = end;
            continue;
        }
        for (; g < end; ++g)
            if (mask[g] != 0)
                SelectEight(mask[g], src + g * 32, dst + g * 32, dst + g * 32);
    }
    MaskCopyRowC(mask + groups, src + groups * 32, dst + groups * 32, width - groups * 8, bpp);
}

void MaskSelectRowVectors(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow,
                          const std::uint8_t *oldRow, std::uint8_t *dst, int width, int bpp)
{
    if (BppOfKernel(bpp) != 32)
        return MaskSelectRowWords(mask, bitOffset, newRow, oldRow, dst, width, bpp);
    int i = 0;
    for (; i + 8 <= width; i += 8)
        SelectEight(MaskByteAt(mask, bitOffset + i), newRow + i * 4, oldRow + i * 4, dst + i * 4);
    MaskSelectRowC(mask, bitOffset + i, newRow + i * 4, oldRow + i * 4, dst + i * 4, width - i, bpp);
}

namespace {

std::vector<MaskKernels> DetectVariants()
{
    std::vector<MaskKernels> variants{{"reference", &MaskCopyRowC, &MaskSelectRowC},
                                      {"words", &MaskCopyRowWords, &MaskSelectRowWords},
                                      {"vectors", &MaskCopyRowVectors, &MaskSelectRowVectors}};
#if defined(__x86_64__)
    if (CpuHasAvx2())
        variants.push_back({"avx2", &MaskCopyRowWords, &MaskSelectRowAvX2});
#endif
    return variants;
}

}  // namespace

const std::vector<MaskKernels> &MaskKernelVariants()
{
    static const std::vector<MaskKernels> kVariants = DetectVariants();
    return kVariants;
}

void MaskCopyRow(const std::uint8_t *mask, const std::uint8_t *src, std::uint8_t *dst, int width, int bpp)
{
    KernelsInUse(MaskKernelVariants()).copyRow(mask, src, dst, width, bpp);
}

void MaskSelectRow(const std::uint8_t *mask, int bitOffset, const std::uint8_t *newRow, const std::uint8_t *oldRow,
                   std::uint8_t *dst, int width, int bpp)
{
    KernelsInUse(MaskKernelVariants()).selectRow(mask, bitOffset, newRow, oldRow, dst, width, bpp);
}

void CombineMaskedRows(const MaskPlane &mask, const MaskPlane &newPlane, const MaskPlane &oldPlane,
                       const MaskPlane &dst, int width, int top, int bottom, int bpp)
{
    if (width <= 0 || bottom <= top)
        return;
    const int kbpp = BppOfKernel(bpp);
    if (kbpp != 4 && kbpp != 8 && kbpp != 16 && kbpp != 24 && kbpp != 32)
        return;
    const bool inPlace = oldPlane.bits == nullptr || oldPlane.bits == dst.bits;
    const std::intptr_t packed = std::intptr_t(width) * kbpp / 8;
    const bool oneBlock = width % 32 == 0 && mask.stride == width / 8 && newPlane.stride == packed
                          && dst.stride == packed && (inPlace || oldPlane.stride == packed);
    int rows = bottom - top;
    int rowWidth = width;
    if (oneBlock && std::int64_t(width) * rows <= 0x7FFFFFFF) {
        rowWidth = width * rows;
        rows = 1;
    }
    const MaskKernels &kernels = KernelsInUse(MaskKernelVariants());
    for (int r = 0; r < rows; ++r) {
        const int y = top + r;
        const std::uint8_t *m = mask.bits + y * mask.stride;
        const std::uint8_t *n = newPlane.bits + y * newPlane.stride;
        std::uint8_t *d = dst.bits + y * dst.stride;
        if (inPlace)
            kernels.copyRow(m, n, d, rowWidth, kbpp);
        else
            kernels.selectRow(m, 0, n, oldPlane.bits + y * oldPlane.stride, d, rowWidth, kbpp);
    }
}

}  // namespace lumetta
