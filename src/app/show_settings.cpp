#include "app/show_settings.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace lumetta {

namespace {

struct NamedColor {
    const char *name;
    TColor value;
};

constexpr std::array<NamedColor, 16> kPlainColors{{
    {"clBlack", 0x000000},  {"clMaroon", 0x000080}, {"clGreen", 0x008000},  {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080}, {"clTeal", 0x808000},   {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
}};

// System colours in value order from clScrollBar, with the palette entry that plays their part.
struct SystemColor {
    const char *name;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<SystemColor, 25> kSystemColors{{
    {"clScrollBar", QPalette::Active, QPalette::Button},
    {"clBackground", QPalette::Active, QPalette::Dark},
    {"clActiveCaption", QPalette::Active, QPalette::Highlight},
    {"clInactiveCaption", QPalette::Inactive, QPalette::Mid},
    {"clMenu", QPalette::Active, QPalette::Window},
    {"clWindow", QPalette::Active, QPalette::Base},
    {"clWindowFrame", QPalette::Active, QPalette::Shadow},
    {"clMenuText", QPalette::Active, QPalette::WindowText},
    {"clWindowText", QPalette::Active, QPalette::Text},
    {"clCaptionText", QPalette::Active, QPalette::HighlightedText},
    {"clActiveBorder", QPalette::Active, QPalette::Window},
    {"clInactiveBorder", QPalette::Inactive, QPalette::Window},
    {"clAppWorkSpace", QPalette::Active, QPalette::Dark},
    {"clHighlight", QPalette::Active, QPalette::Highlight},
    {"clHighlightText", QPalette::Active, QPalette::HighlightedText},
    {"clBtnFace", QPalette::Active, QPalette::Button},
    {"clBtnShadow", QPalette::Active, QPalette::Dark},
    {"clGrayText", QPalette::Disabled, QPalette::Text},
    {"clBtnText", QPalette::Active, QPalette::ButtonText},
    {"clInactiveCaptionText", QPalette::Inactive, QPalette::WindowText},
    {"clBtnHighlight", QPalette::Active, QPalette::Light},
    {"cl3DDkShadow", QPalette::Active, QPalette::Shadow},
    {"cl3DLight", QPalette::Active, QPalette::Midlight},
    {"clInfoText", QPalette::Active, QPalette::ToolTipText},
    {"clInfoBk", QPalette::Active, QPalette::ToolTipBase},
}};

constexpr const char *kNoneName = "clNone";

bool IsSystemColor(TColor color)
{
    return color >= clScrollBar && color <= clInfoBk;
}

std::optional<TColor> ParseHex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    TColor value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const int d = (u >= u'0' && u <= u'9')   ? u - u'0'
                      : (u >= u'A' && u <= u'F') ? u - u'A' + 10
                      : (u >= u'a' && u <= u'f') ? u - u'a' + 10
                                                 : -1;
        if (d < 0)
            return std::nullopt;
        value = value << 4 | TColor(d);
    }
    return value;
}

// Whole-string decimal with an optional sign; nullopt when not a number at all. Values beyond
// the range saturate, so callers clamping into a small range still get the right side.
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

// Keyword first, then a number clamped to 1..100; anything else reads as the start default.
std::optional<int> ReadBounded(const QString &line, QLatin1String keyword, int fallback)
{
    if (line == keyword)
        return std::nullopt;
    const std::optional<qint64> number = ParseDecimal(line);
    if (!number)
        return fallback;
    return int(std::clamp<qint64>(*number, 1, 100));
}

}  // namespace

QString ColorToString(TColor color)
{
    for (const NamedColor &named : kPlainColors)
        if (named.value == color)
            return QLatin1String(named.name);
    if (IsSystemColor(color))
        return QLatin1String(kSystemColors[color - clScrollBar].name);
    if (color == clNone)
        return QLatin1String(kNoneName);
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> StringToColor(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const NamedColor &named : kPlainColors)
        if (trimmed.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    for (std::size_t i = 0; i < kSystemColors.size(); ++i)
        if (trimmed.compare(QLatin1String(kSystemColors[i].name), Qt::CaseInsensitive) == 0)
            return clScrollBar + TColor(i);
    if (trimmed.compare(QLatin1String(kNoneName), Qt::CaseInsensitive) == 0)
        return clNone;
    if (trimmed.startsWith(u'$'))
        return ParseHex(QStringView(trimmed).mid(1));
    const std::optional<qint64> number = ParseDecimal(trimmed);
    if (!number || *number < INT32_MIN || *number > qint64(UINT32_MAX))
        return std::nullopt;
    return TColor(std::uint64_t(*number) & 0xFFFFFFFFu);
}

QColor ResolveColor(TColor color, const QPalette &palette)
{
    if (IsSystemColor(color)) {
        const SystemColor &sys = kSystemColors[color - clScrollBar];
        QColor resolved = palette.color(sys.group, sys.role);
        resolved.setAlpha(255);
        return resolved;
    }
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

QColor ResolveColor(TColor color)
{
    return ResolveColor(color, QGuiApplication::palette());
}

BackgroundColorTexts SplitBackgroundLine(const QString &line)
{
    const qsizetype at = line.lastIndexOf(u'_');
    if (at < 0)
        return {line, line};
    return {line.left(at), line.mid(at + 1)};
}

ShowSettings::ShowSettings()
{
    FillDefaults(Defaults::Start);
}

QString ShowSettings::Get(int index) const
{
    return index >= 0 && index < lines_.size() ? lines_[index] : QString();
}

bool ShowSettings::Put(int index, const QString &value)
{
    if (index < 0 || index > lines_.size())
        return false;
    if (index == lines_.size())
        lines_.append(value);
    else
        lines_[index] = value;
    return true;
}

QStringList ShowSettings::DefaultLines(Defaults set)
{
    if (set == Defaults::Start)
        return {QStringLiteral("2"), QStringLiteral("80"), QStringLiteral("Random"),
                QStringLiteral("No music"), QStringLiteral("$00D5E7EA_clWhite"), QStringLiteral("Loop"),
                QStringLiteral("Color"), QStringLiteral("Tile"), QStringLiteral("No"),
                QStringLiteral("Shadow")};
    return {QStringLiteral("2"), QStringLiteral("100"), QStringLiteral("Random"),
            QStringLiteral("No music"), QStringLiteral("$00281800_$00281800"), QStringLiteral("Loop"),
            QStringLiteral("Color"), QStringLiteral("Tile"), QStringLiteral("No"), QStringLiteral("No")};
}

void ShowSettings::FillDefaults(Defaults set)
{
    lines_ = DefaultLines(set);
}

bool ShowSettings::LoadFrom(const QStringList &projectLines)
{
    if (projectLines.size() < kLineCount)
        return false;
    lines_ = projectLines.mid(0, kLineCount);
    return true;
}

std::optional<int> ShowSettings::AdvanceSeconds() const
{
    return ReadBounded(Get(kAdvance), QLatin1String("Manual"), 2);
}

std::optional<int> ShowSettings::PicturePercent() const
{
    return ReadBounded(Get(kPictureSize), QLatin1String("No"), 80);
}

std::optional<ShowSettings::Placement> ShowSettings::BackgroundPlacement() const
{
    const QString word = Get(kPlacement);
    if (word == QLatin1String("Tile"))
        return Placement::Tile;
    if (word == QLatin1String("Center"))
        return Placement::Center;
    if (word == QLatin1String("Stretch"))
        return Placement::Stretch;
    return std::nullopt;
}

std::optional<TColor> ShowSettings::CaptionColor() const
{
    const QString line = Get(kCaption);
    if (line == QLatin1String("No"))
        return std::nullopt;
    return StringToColor(line);
}

}  // namespace lumetta
