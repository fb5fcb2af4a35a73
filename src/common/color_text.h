// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumetta {

// The program's colour type, as show files and effect descriptions write it: red in the lowest
// byte; system colours and kClNone are marker values resolved only when drawing.
using ColorRef = std::uint32_t;

inline constexpr ColorRef kClBlack = 0x000000;
inline constexpr ColorRef kClWhite = 0xFFFFFF;
inline constexpr ColorRef kClRed = 0x0000FF;
inline constexpr ColorRef kClScrollBar = 0x80000000;
inline constexpr ColorRef kClInfoBk = 0x80000018;
inline constexpr ColorRef kClNone = 0x1FFFFFFF;
// The name src/transitions still uses, until that folder follows the naming rule.
inline constexpr ColorRef clNone = kClNone;  // NOLINT(readability-identifier-naming)

inline constexpr int kSystemColorCount = int(kClInfoBk - kClScrollBar) + 1;

inline bool IsSystemColor(ColorRef color)
{
    return color >= kClScrollBar && color <= kClInfoBk;
}

// The colour's name when it has one, else "$" and eight upper-case hex digits.
QString ColorToString(ColorRef color);

// Which names reading takes: show files take every name in any letter case; effect descriptions
// only the sixteen plain colours, spelled exactly.
enum class ColorNames { All, PlainExactCase };

// Reads a colour name, "$" with 1 to 8 hex digits, or a decimal number from -2^31 to 2^32 - 1,
// blanks around ignored; nullopt otherwise.
std::optional<ColorRef> StringToColor(const QString &text, ColorNames names = ColorNames::All);

// Whole-text decimal with an optional sign, blanks around ignored; nullopt when not a number at
// all. Values beyond the range saturate, so callers clamping into a small range still get the
// right side.
std::optional<qint64> ParseDecimal(QStringView text);

}  // namespace lumetta
