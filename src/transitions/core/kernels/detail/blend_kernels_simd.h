// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Vector kernels written once over a small register interface V; each instruction set's file
// instantiates them with its own V (declared in an anonymous namespace, so nothing is shared
// between files built with different instruction sets; for the same reason these kernels call no
// inline library function). Private to the kernels.

#include "transitions/core/kernels/detail/blend_levels.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace lumetta::blendrows {

template <class V, Term T>
inline typename V::Reg ApplyTerm(typename V::Reg acc, typename V::Reg o, typename V::Reg n,
                                 const typename V::Reg *masks)
{
    const typename V::Reg shifted = V::And(V::template Srl<T.shift>(T.src == KOld ? o : n), masks[T.shift]);
    if constexpr (T.sign > 0)
        return V::Add(acc, shifted);
    else
        return V::Sub(acc, shifted);
}

// Runs of at least this many words (4 MiB) are stored around the cache.
inline constexpr int kStreamWords = 1 << 20;

// Whole: every word is written (the old word where the rows agree), without a mask or a branch
// per register.
template <class V, int Level, bool Narrow, bool Whole>
void MixRow(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words,
            BlendWordFormat format)
{
    static constexpr Row kRow = kLevelRows[Narrow ? 1 : 0][Level];
    const WordLayout &layout = kLayouts[int(format)];
    typename V::Reg masks[7];
    for (int s = 0; s < 7; ++s)
        masks[s] = V::Set1(layout.shiftMask[s]);
    const typename V::Reg force = V::Set1(layout.forceBits);
    // A run too large to stay in the cache is written past it, aligned, so the stores neither
    // read the lines first nor push the two pictures out.
    const bool stream = words >= kStreamWords;
    int i = 0;
    if (stream) {
        i = int((V::kBytes - reinterpret_cast<std::uintptr_t>(out) % V::kBytes) % V::kBytes / 4);
        (Whole ? BlendRowWholeC : BlendRowC)(oldRow, newRow, out, i, Level, format);
    }
    // Rows of six terms cost more as shifts than as four byte lookups, where the set has them.
    constexpr bool kLookUp = V::kLooksUpBytes && !Narrow && kRow.count > 4;
    // old high, old low, new high, new low
    typename V::Reg tables[4];
    if constexpr (kLookUp) {
        static constexpr NibbleTables kNibbles = MakeNibbleTables(kRow);
        tables[0] = V::Table16(kNibbles.oldHigh);
        tables[1] = V::Table16(kNibbles.oldLow);
        tables[2] = V::Table16(kNibbles.newHigh);
        tables[3] = V::Table16(kNibbles.newLow);
    }
    for (; i + V::kWords <= words; i += V::kWords) {
        const typename V::Reg o = V::Load(oldRow + i);
        const typename V::Reg n = V::Load(newRow + i);
        typename V::Reg acc;
        if constexpr (kLookUp) {
            acc = V::AddBytes(V::AddBytes(V::LookUpHigh(tables[0], o), V::LookUpLow(tables[1], o)),
                              V::AddBytes(V::LookUpHigh(tables[2], n), V::LookUpLow(tables[3], n)));
        } else {
            acc = kRow.base == KOld ? o : kRow.base == KNew ? n : V::Zero();
            [&]<std::size_t... I>(std::index_sequence<I...>)
            {
                ((acc = ApplyTerm<V, kRow.terms[I]>(acc, o, n, masks)), ...);
            }
            (std::make_index_sequence<kRow.count>{});
        }
        if constexpr (Whole)
            V::StoreWhole(out + i, V::Or(acc, force), o, n, stream);
        else
            V::StoreWhereDifferent(out + i, V::Or(acc, force), o, n, stream);
    }
    if (stream)
        V::Fence();
    if (i < words)
        (Whole ? BlendRowWholeC : BlendRowC)(oldRow + i, newRow + i, out + i, words - i, Level, format);
}

using MixFn = void (*)(const std::uint32_t *, const std::uint32_t *, std::uint32_t *, int, BlendWordFormat);

// fns[narrow][level], level 0 standing for every level outside 1..63.
struct MixTable
{
    MixFn fns[2][64];
};

template <class V, bool Whole>
consteval MixTable MakeMixTable()
{
    return []<std::size_t... L>(std::index_sequence<L...>)
    {
        return MixTable{{{&MixRow<V, int(L), false, Whole>...}, {&MixRow<V, int(L), true, Whole>...}}};
    }
    (std::make_index_sequence<64>{});
}

template <class V, bool Whole = false>
void BlendRowVector(const std::uint32_t *oldRow, const std::uint32_t *newRow, std::uint32_t *out, int words, int level,
                    BlendWordFormat format)
{
    static constexpr MixTable kTable = MakeMixTable<V, Whole>();
    const bool narrow = kLayouts[int(format)].narrow;
    kTable.fns[narrow][level >= 1 && level <= 63 ? level : 0](oldRow, newRow, out, words, format);
}

template <class V>
void PatternCopyRowVector(const std::uint8_t *src, std::uint8_t *dst, int width, int bytesPerPixel, std::uint8_t cells)
{
    if (cells == 0 || width <= 0)
        return;
    const int bytes = width * bytesPerPixel;
    if (cells == 0xFF) {
        std::memcpy(dst, src, std::size_t(bytes));
        return;
    }
    // The byte mask repeats every 8 pixels; span is the smallest whole number of registers
    // that holds a whole number of those periods (3 registers for 3 bytes a pixel). Written
    // without library templates: their out-of-line copies could come from another instruction set.
    const int period = 8 * bytesPerPixel;
    const int span = bytesPerPixel == 3 ? 3 * V::kBytes : period > V::kBytes ? period : V::kBytes;
    auto onAt = [&](int byte) { return (cells >> ((byte / bytesPerPixel) & 7)) & 1u; };
    alignas(64) std::uint8_t maskBytes[3 * V::kBytes];
    for (int b = 0; b < span; ++b)
        maskBytes[b] = onAt(b) ? 0xFF : 0;
    typename V::Reg masks[3];
    const int count = span / V::kBytes;
    for (int m = 0; m < count; ++m)
        masks[m] = V::Load(maskBytes + m * V::kBytes);
    int b = 0;
    int m = 0;
    for (; b + V::kBytes <= bytes; b += V::kBytes) {
        V::Store(dst + b, V::Select(masks[m], V::Load(src + b), V::Load(dst + b)));
        m = m + 1 == count ? 0 : m + 1;
    }
    for (; b < bytes; ++b)
        if (onAt(b))
            dst[b] = src[b];
}

}  // namespace lumetta::blendrows
