// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The level-k mix as data, shared by the reference and the vector kernels. Private to the kernels.

#include "transitions/core/kernels/blend_kernels.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace lumetta::blendrows {

enum Src : std::uint8_t { KNone, KOld, KNew };

// sign * (source >> shift), shifted within each channel.
struct Term
{
    Src src;
    std::uint8_t shift;
    std::int8_t sign;
};

// base + terms[0] + ... + terms[count - 1]
struct Row
{
    Src base;
    std::uint8_t count;
    Term terms[6];
};

consteval Term PO(int s)
{
    return {KOld, std::uint8_t(s), 1};
}
consteval Term MO(int s)
{
    return {KOld, std::uint8_t(s), -1};
}
consteval Term PN(int s)
{
    return {KNew, std::uint8_t(s), 1};
}
consteval Term MN(int s)
{
    return {KNew, std::uint8_t(s), -1};
}

// Rows 1..32, the new picture weighing k/64; rows 28 and 32 have their own form on 15 and 16 bits.
inline constexpr Row kRows[33] = {
    {KNone, 0, {}},
    /* 1*/ {KOld, 2, {PN(6), MO(6)}},
    /* 2*/ {KOld, 2, {PN(5), MO(5)}},
    /* 3*/ {KOld, 4, {PN(5), PN(6), MO(5), MO(6)}},
    /* 4*/ {KOld, 2, {PN(4), MO(4)}},
    /* 5*/ {KOld, 4, {PN(4), PN(6), MO(4), MO(6)}},
    /* 6*/ {KOld, 4, {PN(4), PN(5), MO(4), MO(5)}},
    /* 7*/ {KOld, 4, {PN(3), PO(6), MN(6), MO(3)}},
    /* 8*/ {KOld, 2, {PN(3), MO(3)}},
    /* 9*/ {KOld, 4, {PN(3), PN(6), MO(3), MO(6)}},
    /*10*/ {KOld, 4, {PN(3), PN(5), MO(3), MO(5)}},
    /*11*/ {KOld, 6, {PN(3), PN(5), PN(6), MO(3), MO(5), MO(6)}},
    /*12*/ {KOld, 4, {PN(3), PN(4), MO(3), MO(4)}},
    /*13*/ {KOld, 6, {PN(3), PN(4), PN(6), MO(3), MO(4), MO(6)}},
    /*14*/ {KOld, 4, {PN(2), PO(5), MN(5), MO(2)}},
    /*15*/ {KOld, 4, {PN(2), PO(6), MN(6), MO(2)}},
    /*16*/ {KOld, 2, {PN(2), MO(2)}},
    /*17*/ {KOld, 4, {PN(2), PN(6), MO(2), MO(6)}},
    /*18*/ {KOld, 4, {PN(2), PN(5), MO(2), MO(5)}},
    /*19*/ {KOld, 6, {PN(2), PN(5), PN(6), MO(2), MO(5), MO(6)}},
    /*20*/ {KOld, 4, {PN(2), PN(4), MO(2), MO(4)}},
    /*21*/ {KOld, 6, {PN(2), PN(4), PN(6), MO(2), MO(4), MO(6)}},
    /*22*/ {KNew, 6, {PO(1), PO(3), PO(5), MN(1), MN(3), MN(5)}},
    /*23*/ {KNew, 6, {PO(1), PO(3), PO(6), MN(1), MN(3), MN(6)}},
    /*24*/ {KNew, 4, {PO(1), PO(3), MN(1), MN(3)}},
    /*25*/ {KNew, 6, {PN(6), PO(1), PO(3), MN(1), MN(3), MO(6)}},
    /*26*/ {KNew, 6, {PO(1), PO(4), PO(5), MN(1), MN(4), MN(5)}},
    /*27*/ {KNone, 6, {PN(1), PO(1), PO(4), PO(6), MN(4), MN(6)}},
    /*28*/ {KNone, 4, {PN(1), PO(1), PO(4), MN(4)}},
    /*29*/ {KNone, 6, {PN(1), PO(1), PO(5), PO(6), MN(5), MN(6)}},
    /*30*/ {KNone, 4, {PN(1), PO(1), PO(5), MN(5)}},
    /*31*/ {KNone, 4, {PN(1), PO(1), PO(6), MN(6)}},
    /*32*/ {KNone, 2, {PN(1), PO(1)}},
};

inline constexpr Row kNarrowRow28 = {KOld, 4, {PN(1), PO(4), MN(4), MO(1)}};
inline constexpr Row kNarrowRow32 = {KOld, 2, {PN(1), MO(1)}};

consteval Src Swapped(Src s)
{
    return s == KOld ? KNew : s == KNew ? KOld : KNone;
}

// The row for level k: levels 33..63 use row 64 - k with old and new exchanged, others row 32.
consteval Row RowForLevel(int level, bool narrow)
{
    if (level < 1 || level > 63)
        level = 32;
    const int index = level <= 32 ? level : 64 - level;
    Row row = kRows[index];
    if (narrow && index == 28)
        row = kNarrowRow28;
    if (narrow && index == 32)
        row = kNarrowRow32;
    if (level > 32) {
        row.base = Swapped(row.base);
        for (int i = 0; i < row.count; ++i)
            row.terms[i].src = Swapped(row.terms[i].src);
    }
    return row;
}

// A row's value for one byte channel as four 16-entry tables, indexed by the high and low nibbles
// of the old and the new byte: the four entries add up (modulo 256) to the row's value. Exact
// because the shift by s of 16h + l is (h << (4 - s)) + (l >> s) for s <= 4 and h >> (s - 4)
// beyond, and because no level's channel value leaves 0..255, so the word form carries nothing
// between channels either.
struct NibbleTables
{
    std::uint8_t oldHigh[16], oldLow[16], newHigh[16], newLow[16];
};

constexpr NibbleTables MakeNibbleTables(const Row &row)
{
    int oldHigh[16] = {}, oldLow[16] = {}, newHigh[16] = {}, newLow[16] = {};
    auto add = [&](Src src, int shift, int sign) {
        int *high = src == KOld ? oldHigh : newHigh;
        int *low = src == KOld ? oldLow : newLow;
        for (int v = 0; v < 16; ++v) {
            high[v] += sign * (shift <= 4 ? v << (4 - shift) : v >> (shift - 4));
            low[v] += sign * (v >> shift);
        }
    };
    if (row.base != KNone)
        add(row.base, 0, 1);
    for (int i = 0; i < row.count; ++i)
        add(row.terms[i].src, row.terms[i].shift, row.terms[i].sign);
    NibbleTables tables{};
    for (int v = 0; v < 16; ++v) {
        tables.oldHigh[v] = std::uint8_t(oldHigh[v] & 0xFF);
        tables.oldLow[v] = std::uint8_t(oldLow[v] & 0xFF);
        tables.newHigh[v] = std::uint8_t(newHigh[v] & 0xFF);
        tables.newLow[v] = std::uint8_t(newLow[v] & 0xFF);
    }
    return tables;
}

// Per-format constants: shiftMask[s] keeps what stays inside each channel after a shift by s.
struct WordLayout
{
    std::uint32_t shiftMask[7];
    std::uint32_t forceBits;
    bool narrow;
};

consteval WordLayout MakeLayout(BlendWordFormat format)
{
    struct Field
    {
        int pos, width;
    };
    Field fields[8] = {};
    int fieldCount = 0;
    auto addHalves = [&](std::initializer_list<Field> half) {
        for (int h = 0; h < 2; ++h)
            for (Field f : half)
                fields[fieldCount++] = {f.pos + 16 * h, f.width};
    };
    switch (format) {
    case BlendWordFormat::Bytes:
    case BlendWordFormat::Bytes32:
        for (int b = 0; b < 4; ++b)
            fields[fieldCount++] = {8 * b, 8};
        break;
    case BlendWordFormat::Rgb555:
        addHalves({{10, 5}, {5, 5}, {0, 5}});
        break;
    case BlendWordFormat::Rgb565:
        addHalves({{11, 5}, {5, 6}, {0, 5}});
        break;
    }
    WordLayout layout{};
    for (int s = 0; s <= 6; ++s)
        for (int i = 0; i < fieldCount; ++i)
            layout.shiftMask[s] |= ((((1u << fields[i].width) - 1u) >> s) << fields[i].pos);
    layout.forceBits = format == BlendWordFormat::Bytes32 ? 0xFF000000u : 0u;
    layout.narrow = format == BlendWordFormat::Rgb555 || format == BlendWordFormat::Rgb565;
    return layout;
}

consteval std::array<std::array<Row, 64>, 2> MakeLevelRows()
{
    std::array<std::array<Row, 64>, 2> rows{};
    for (int narrow = 0; narrow < 2; ++narrow)
        for (int level = 0; level < 64; ++level)
            rows[narrow][level] = RowForLevel(level, narrow != 0);
    return rows;
}

// kLevelRows[narrow][k] for k 0..63 (0 mixes as 32).
inline constexpr std::array<std::array<Row, 64>, 2> kLevelRows = MakeLevelRows();

inline constexpr WordLayout kLayouts[4] = {
    MakeLayout(BlendWordFormat::Bytes),
    MakeLayout(BlendWordFormat::Bytes32),
    MakeLayout(BlendWordFormat::Rgb555),
    MakeLayout(BlendWordFormat::Rgb565),
};

}  // namespace lumetta::blendrows
