// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_settings.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace lumetta {

namespace {

// The palette entry that plays the part of each system colour, in value order from kClScrollBar.
struct SystemColorRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<SystemColorRole, kSystemColorCount> kSystemColorRoles{{
    {QPalette::Active, QPalette::Button},  // clScrollBar
    {QPalette::Active, QPalette::Dark},  // clBackground
    {QPalette::Active, QPalette::Highlight},  // clActiveCaption
    {QPalette::Inactive, QPalette::Mid},  // clInactiveCaption
    {QPalette::Active, QPalette::Window},  // clMenu
    {QPalette::Active, QPalette::Base},  // clWindow
    {QPalette::Active, QPalette::Shadow},  // clWindowFrame
    {QPalette::Active, QPalette::WindowText},  // clMenuText
    {QPalette::Active, QPalette::Text},  // clWindowText
    {QPalette::Active, QPalette::HighlightedText},  // clCaptionText
    {QPalette::Active, QPalette::Window},  // clActiveBorder
    {QPalette::Inactive, QPalette::Window},  // clInactiveBorder
    {QPalette::Active, QPalette::Dark},  // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},  // clHighlight
    {QPalette::Active, QPalette::HighlightedText},  // clHighlightText
    {QPalette::Active, QPalette::Button},  // clBtnFace
    {QPalette::Active, QPalette::Dark},  // clBtnShadow
    {QPalette::Disabled, QPalette::Text},  // clGrayText
    {QPalette::Active, QPalette::ButtonText},  // clBtnText
    {QPalette::Inactive, QPalette::WindowText},  // clInactiveCaptionText
    {QPalette::Active, QPalette::Light},  // clBtnHighlight
    {QPalette::Active, QPalette::Shadow},  // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight},  // cl3DLight
    {QPalette::Active, QPalette::ToolTipText},  // clInfoText
    {QPalette::Active, QPalette::ToolTipBase},  // kClInfoBk
}};

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

QColor ResolveColor(ColorRef color, const QPalette &palette)
{
    if (IsSystemColor(color)) {
        const SystemColorRole &sys = kSystemColorRoles[color - kClScrollBar];
        QColor resolved = palette.color(sys.group, sys.role);
        resolved.setAlpha(255);
        return resolved;
    }
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

QColor ResolveColor(ColorRef color)
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
        return {QStringLiteral("2"),
                QStringLiteral("80"),
                QStringLiteral("Random"),
                QStringLiteral("No music"),
                QStringLiteral("$00D5E7EA_clWhite"),
                QStringLiteral("Loop"),
                QStringLiteral("Color"),
                QStringLiteral("Tile"),
                QStringLiteral("No"),
                QStringLiteral("Shadow")};
    return {QStringLiteral("2"),
            QStringLiteral("100"),
            QStringLiteral("Random"),
            QStringLiteral("No music"),
            QStringLiteral("$00281800_$00281800"),
            QStringLiteral("Loop"),
            QStringLiteral("Color"),
            QStringLiteral("Tile"),
            QStringLiteral("No"),
            QStringLiteral("No")};
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
    return ReadBounded(Get(AdvanceLine), QLatin1String("Manual"), 2);
}

std::optional<int> ShowSettings::PicturePercent() const
{
    return ReadBounded(Get(PictureSizeLine), QLatin1String("No"), 80);
}

std::optional<ShowSettings::Placement> ShowSettings::BackgroundPlacement() const
{
    const QString word = Get(PlacementLine);
    if (word == QLatin1String("Tile"))
        return Placement::Tile;
    if (word == QLatin1String("Center"))
        return Placement::Center;
    if (word == QLatin1String("Stretch"))
        return Placement::Stretch;
    return std::nullopt;
}

std::optional<ColorRef> ShowSettings::CaptionColor() const
{
    const QString line = Get(CaptionLine);
    if (line == QLatin1String("No"))
        return std::nullopt;
    return StringToColor(line);
}

}  // namespace lumetta
