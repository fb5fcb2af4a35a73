// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_settings.h"

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(ColorText, ResolvesPlainValuesRedInTheLowestByte)
{
    EXPECT_EQ(ResolveColor(kClRed), QColor(255, 0, 0));
    EXPECT_EQ(ResolveColor(0x00D5E7EA), QColor(0xEA, 0xE7, 0xD5));
    EXPECT_EQ(ResolveColor(0x800000), QColor(0, 0, 0x80));
}

TEST(ColorText, ResolvesSystemColoursFromThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Highlight, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::ToolTipBase, QColor(10, 11, 12));
    EXPECT_EQ(ResolveColor(*StringToColor(QStringLiteral("clWindow")), palette), QColor(1, 2, 3));
    EXPECT_EQ(ResolveColor(*StringToColor(QStringLiteral("clHighlight")), palette), QColor(4, 5, 6));
    EXPECT_EQ(ResolveColor(*StringToColor(QStringLiteral("clBtnFace")), palette), QColor(7, 8, 9));
    EXPECT_EQ(ResolveColor(kClInfoBk, palette), QColor(10, 11, 12));
}

TEST(BackgroundLine, SplitsAtTheLastUnderscore)
{
    const struct
    {
        const char *line;
        const char *top;
        const char *bottom;
        bool plain;
    } cases[] = {
        {"$00D5E7EA_clWhite", "$00D5E7EA", "clWhite", false},
        {"$00281800_$00281800", "$00281800", "$00281800", true},
        {"a_b_c", "a_b", "c", false},
        {"clRed_", "clRed", "", false},
        {"clRed", "clRed", "clRed", true},
    };
    for (const auto &c : cases) {
        const BackgroundColorTexts split = SplitBackgroundLine(QLatin1String(c.line));
        EXPECT_EQ(split.top, QLatin1String(c.top)) << c.line;
        EXPECT_EQ(split.bottom, QLatin1String(c.bottom)) << c.line;
        EXPECT_EQ(split.IsPlain(), c.plain) << c.line;
    }
}

TEST(ShowSettings, BothDefaultSets)
{
    ShowSettings settings;
    EXPECT_EQ(settings.Lines(), QStringList({"2", "80", "Random", "No music", "$00D5E7EA_clWhite", "Loop", "Color",
                                             "Tile", "No", "Shadow"}));
    settings.FillDefaults(ShowSettings::Defaults::Dialog);
    EXPECT_EQ(settings.Lines(), QStringList({"2", "100", "Random", "No music", "$00281800_$00281800", "Loop", "Color",
                                             "Tile", "No", "No"}));
    EXPECT_TRUE(settings.BackgroundColors().IsPlain());
    EXPECT_FALSE(settings.Shadow());
}

TEST(ShowSettings, PutReplacesOrAppendsAtTheEnd)
{
    ShowSettings settings;
    settings.Clear();
    for (int i = 0; i < ShowSettings::kLineCount; ++i)
        EXPECT_TRUE(settings.Put(i, QString::number(i)));
    EXPECT_EQ(settings.Count(), 10);
    EXPECT_TRUE(settings.Put(3, QStringLiteral("x")));
    EXPECT_EQ(settings.Get(3), QLatin1String("x"));
    EXPECT_FALSE(settings.Put(12, QStringLiteral("y")));
    EXPECT_FALSE(settings.Put(-1, QStringLiteral("y")));
    EXPECT_EQ(settings.Count(), 10);
    EXPECT_EQ(settings.Get(10), QString());
}

TEST(ShowSettings, AdvanceAndSizeReadKeywordThenNumberClampedElseStartDefault)
{
    const struct
    {
        const char *text;
        std::optional<int> seconds;
        std::optional<int> percent;
    } cases[] = {
        {"Manual", std::nullopt, 80},
        {"No", 2, std::nullopt},
        {"5", 5, 5},
        {"1", 1, 1},
        {"100", 100, 100},
        {"0", 1, 1},
        {"101", 100, 100},
        {"-7", 1, 1},
        {"99999999999999999", 100, 100},
        {"abc", 2, 80},
        {"", 2, 80},
        {"manual", 2, 80},
        {"no", 2, 80},
        {"7.5", 2, 80},
    };
    for (const auto &c : cases) {
        ShowSettings settings;
        settings.Put(ShowSettings::AdvanceLine, QLatin1String(c.text));
        settings.Put(ShowSettings::PictureSizeLine, QLatin1String(c.text));
        EXPECT_EQ(settings.AdvanceSeconds(), c.seconds) << c.text;
        EXPECT_EQ(settings.PicturePercent(), c.percent) << c.text;
    }
}

TEST(ShowSettings, KeywordsAreExactAndCaseSensitive)
{
    ShowSettings settings;
    settings.Put(ShowSettings::LoopingLine, QStringLiteral("loop"));
    EXPECT_FALSE(settings.Looping());
    settings.Put(ShowSettings::EffectsLine, QStringLiteral("Sometimes"));
    EXPECT_TRUE(settings.EffectsOn());
    settings.Put(ShowSettings::EffectsLine, QStringLiteral("No effect"));
    EXPECT_FALSE(settings.EffectsOn());
    settings.Put(ShowSettings::MusicLine, QStringLiteral("no music"));
    EXPECT_TRUE(settings.MusicOn());
    EXPECT_FALSE(settings.RepeatMusic());
    settings.Put(ShowSettings::PlacementLine, QStringLiteral("center"));
    EXPECT_EQ(settings.BackgroundPlacement(), std::nullopt);
    settings.Put(ShowSettings::PlacementLine, QStringLiteral("Stretch"));
    EXPECT_EQ(settings.BackgroundPlacement(), ShowSettings::Placement::Stretch);
    settings.Put(ShowSettings::CaptionLine, QStringLiteral("clPurple"));
    EXPECT_EQ(settings.CaptionColor(), ColorRef(0x800080));
    settings.Put(ShowSettings::CaptionLine, QStringLiteral("No"));
    EXPECT_EQ(settings.CaptionColor(), std::nullopt);
}

TEST(ShowSettings, LoadTakesTheFirstTenLinesOrNothing)
{
    ShowSettings settings;
    const ShowSettings before = settings;
    QStringList nine;
    for (int i = 0; i < 9; ++i)
        nine.append(QString::number(i));
    EXPECT_FALSE(settings.LoadFrom(nine));
    EXPECT_EQ(settings, before);
    QStringList twelve = nine;
    twelve << "9"
           << "a"
           << "b";
    EXPECT_TRUE(settings.LoadFrom(twelve));
    EXPECT_EQ(settings.Lines(), twelve.mid(0, 10));
}

}  // namespace
}  // namespace lumetta
