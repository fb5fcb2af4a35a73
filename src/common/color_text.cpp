// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/color_text.h"

#include <algorithm>
#include <array>

namespace lumetta {

namespace {

struct NamedColor
{
    const char *name;
    ColorRef value;
};

constexpr std::array<NamedColor, 16> kPlainColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// System colour names in value order from kClScrollBar.
constexpr std::array<const char *, kSystemColorCount> kSystemColorNames{
    "clScrollBar",    "clBackground",     "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",       "clWindowFrame",    "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder", "clInactiveBorder", "clAppWorkSpace",  "clHighlight",       "clHighlightText",
    "clBtnFace",      "clBtnShadow",      "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",     "cl3DLight",       "clInfoText",        "clInfoBk",
};

constexpr const char *kNoneName = "clNone";

std::optional<ColorRef> ParseHex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    ColorRef value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const int d = (u >= u'0' && u <= u'9')   ? u - u'0'
                      : (u >= u'A' && u <= u'F') ? u - u'A' + 10
                      : (u >= u'a' && u <= u'f') ? u - u'a' + 10
                                                 : -1;
        if (d < 0)
            return std::nullopt;
        value = value << 4 | ColorRef(d);
    }
    return value;
}

std::optional<ColorRef> ColorByName(const QString &name, ColorNames names)
{
    const Qt::CaseSensitivity letterCase = names == ColorNames::All ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (const NamedColor &named : kPlainColors)
        if (name.compare(QLatin1String(named.name), letterCase) == 0)
            return named.value;
    if (names != ColorNames::All)
        return std::nullopt;
    for (std::size_t i = 0; i < kSystemColorNames.size(); ++i)
        if (name.compare(QLatin1String(kSystemColorNames[i]), letterCase) == 0)
            return kClScrollBar + ColorRef(i);
    if (name.compare(QLatin1String(kNoneName), letterCase) == 0)
        return kClNone;
    return std::nullopt;
}

}  // namespace

QString ColorToString(ColorRef color)
{
    for (const NamedColor &named : kPlainColors)
        if (named.value == color)
            return QLatin1String(named.name);
    if (IsSystemColor(color))
        return QLatin1String(kSystemColorNames[color - kClScrollBar]);
    if (color == kClNone)
        return QLatin1String(kNoneName);
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<ColorRef> StringToColor(const QString &text, ColorNames names)
{
    const QString trimmed = text.trimmed();
    if (const std::optional<ColorRef> named = ColorByName(trimmed, names))
        return named;
    if (trimmed.startsWith(u'$'))
        return ParseHex(QStringView(trimmed).mid(1));
    const std::optional<qint64> number = ParseDecimal(trimmed);
    if (!number || *number < INT32_MIN || *number > qint64(UINT32_MAX))
        return std::nullopt;
    return ColorRef(std::uint64_t(*number) & 0xFFFFFFFFu);
}

std::optional<qint64> ParseDecimal(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    constexpr qint64 kLimit = qint64(1) << 40;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(kLimit, value * 10 + (c.unicode() - '0'));
    }
    return negative ? -value : value;
}

}  // namespace lumetta
