// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The level-k mix as data, shared by the reference and the vector kernels. Private to the kernels.

#include "transitions/core/kernels/blend_kernels.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace lumetta::blendrows {

enum Src : std::uint8_t { kNone, kOld, kNew };

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

consteval Term pO(int s)
{
    return {kOld, std::uint8_t(s), 1};
}
consteval Term mO(int s)
{
    return {kOld, std::uint8_t(s), -1};
}
consteval Term pN(int s)
{
    return {kNew, std::uint8_t(s), 1};
}
consteval Term mN(int s)
{
    return {kNew, std::uint8_t(s), -1};
}

// Rows 1..32, the new picture weighing k/64; rows 28 and 32 have their own form on 15 and 16 bits.
inline constexpr Row kRows[33] = {
    {kNone, 0, {}},
    /* 1*/ {kOld, 2, {pN(6), mO(6)}},
    /* 2*/ {kOld, 2, {pN(5), mO(5)}},
    /* 3*/ {kOld, 4, {pN(5), pN(6), mO(5), mO(6)}},
    /* 4*/ {kOld, 2, {pN(4), mO(4)}},
    /* 5*/ {kOld, 4, {pN(4), pN(6), mO(4), mO(6)}},
    /* 6*/ {kOld, 4, {pN(4), pN(5), mO(4), mO(5)}},
    /* 7*/ {kOld, 4, {pN(3), pO(6), mN(6), mO(3)}},
    /* 8*/ {kOld, 2, {pN(3), mO(3)}},
    /* 9*/ {kOld, 4, {pN(3), pN(6), mO(3), mO(6)}},
    /*10*/ {kOld, 4, {pN(3), pN(5), mO(3), mO(5)}},
    /*11*/ {kOld, 6, {pN(3), pN(5), pN(6), mO(3), mO(5), mO(6)}},
    /*12*/ {kOld, 4, {pN(3), pN(4), mO(3), mO(4)}},
    /*13*/ {kOld, 6, {pN(3), pN(4), pN(6), mO(3), mO(4), mO(6)}},
    /*14*/ {kOld, 4, {pN(2), pO(5), mN(5), mO(2)}},
    /*15*/ {kOld, 4, {pN(2), pO(6), mN(6), mO(2)}},
    /*16*/ {kOld, 2, {pN(2), mO(2)}},
    /*17*/ {kOld, 4, {pN(2), pN(6), mO(2), mO(6)}},
    /*18*/ {kOld, 4, {pN(2), pN(5), mO(2), mO(5)}},
    /*19*/ {kOld, 6, {pN(2), pN(5), pN(6), mO(2), mO(5), mO(6)}},
    /*20*/ {kOld, 4, {pN(2), pN(4), mO(2), mO(4)}},
    /*21*/ {kOld, 6, {pN(2), pN(4), pN(6), mO(2), mO(4), mO(6)}},
    /*22*/ {kNew, 6, {pO(1), pO(3), pO(5), mN(1), mN(3), mN(5)}},
    /*23*/ {kNew, 6, {pO(1), pO(3), pO(6), mN(1), mN(3), mN(6)}},
    /*24*/ {kNew, 4, {pO(1), pO(3), mN(1), mN(3)}},
    /*25*/ {kNew, 6, {pN(6), pO(1), pO(3), mN(1), mN(3), mO(6)}},
    /*26*/ {kNew, 6, {pO(1), pO(4), pO(5), mN(1), mN(4), mN(5)}},
    /*27*/ {kNone, 6, {pN(1), pO(1), pO(4), pO(6), mN(4), mN(6)}},
    /*28*/ {kNone, 4, {pN(1), pO(1), pO(4), mN(4)}},
    /*29*/ {kNone, 6, {pN(1), pO(1), pO(5), pO(6), mN(5), mN(6)}},
    /*30*/ {kNone, 4, {pN(1), pO(1), pO(5), mN(5)}},
    /*31*/ {kNone, 4, {pN(1), pO(1), pO(6), mN(6)}},
    /*32*/ {kNone, 2, {pN(1), pO(1)}},
};

inline constexpr Row kNarrowRow28 = {kOld, 4, {pN(1), pO(4), mN(4), mO(1)}};
inline constexpr Row kNarrowRow32 = {kOld, 2, {pN(1), mO(1)}};

consteval Src Swapped(Src s)
{
    return s == kOld ? kNew : s == kNew ? kOld : kNone;
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

consteval NibbleTables MakeNibbleTables(const Row &row)
{
    int oldHigh[16] = {}, oldLow[16] = {}, newHigh[16] = {}, newLow[16] = {};
    auto add = [&](Src src, int shift, int sign) {
        int *high = src == kOld ? oldHigh : newHigh;
        int *low = src == kOld ? oldLow : newLow;
        for (int v = 0; v < 16; ++v) {
            high[v] += sign * (shift <= 4 ? v << (4 - shift) : v >> (shift - 4));
            low[v] += sign * (v >> shift);
        }
    };
    if (row.base != kNone)
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
