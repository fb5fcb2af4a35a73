#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumetta {

// A colour as show files and effect descriptions write it: red in the lowest byte; system colours
// and clNone are marker values resolved only when drawing.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clInfoBk = 0x80000018;
inline constexpr TColor clNone = 0x1FFFFFFF;

inline constexpr int kSystemColorCount = int(clInfoBk - clScrollBar) + 1;

inline bool IsSystemColor(TColor color) { return color >= clScrollBar && color <= clInfoBk; }

// The colour's name when it has one, else "$" and eight upper-case hex digits.
QString ColorToString(TColor color);

// Which names reading takes: show files take every name in any letter case; effect descriptions
// only the sixteen plain colours, spelled exactly.
enum class ColorNames { All, PlainExactCase };

// Reads a colour name, "$" with 1 to 8 hex digits, or a decimal number from -2^31 to 2^32 - 1,
// blanks around ignored; nullopt otherwise.
std::optional<TColor> StringToColor(const QString &text, ColorNames names = ColorNames::All);

// Whole-text decimal with an optional sign, blanks around ignored; nullopt when not a number at
// all. Values beyond the range saturate, so callers clamping into a small range still get the
// right side.
std::optional<qint64> ParseDecimal(QStringView text);

}  // namespace lumetta
