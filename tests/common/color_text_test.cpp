// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/color_text.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

struct NamedCase
{
    const char *name;
    ColorRef value;
};

TEST(ColorText, NamedColoursBothWays)
{
    const NamedCase cases[] = {
        {"clBlack", 0x000000},      {"clMaroon", 0x000080},       {"clGreen", 0x008000},
        {"clOlive", 0x008080},      {"clNavy", 0x800000},         {"clPurple", 0x800080},
        {"clTeal", 0x808000},       {"clGray", 0x808080},         {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},        {"clLime", 0x00FF00},         {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},      {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},      {"clScrollBar", 0x80000000},  {"clBackground", 0x80000001},
        {"clWindow", 0x80000005},   {"clWindowText", 0x80000008}, {"clHighlight", 0x8000000D},
        {"clBtnFace", 0x8000000F},  {"clBtnText", 0x80000012},    {"cl3DDkShadow", 0x80000015},
        {"clInfoText", 0x80000017}, {"clInfoBk", 0x80000018},     {"clNone", 0x1FFFFFFF},
    };
    for (const NamedCase &c : cases) {
        EXPECT_EQ(ColorToString(c.value), QLatin1String(c.name)) << c.name;
        EXPECT_EQ(StringToColor(QLatin1String(c.name)), c.value) << c.name;
    }
}

TEST(ColorText, EverySystemColourHasADistinctName)
{
    QStringList names;
    for (ColorRef v = kClScrollBar; v <= kClInfoBk; ++v) {
        const QString name = ColorToString(v);
        ASSERT_TRUE(name.startsWith(QLatin1String("cl"))) << std::hex << v;
        EXPECT_EQ(StringToColor(name), v);
        names.append(name);
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 25);
    EXPECT_EQ(ColorToString(kClInfoBk + 1), QLatin1String("$80000019"));
}

TEST(ColorText, UnnamedValuesAreDollarAndEightUpperCaseDigits)
{
    EXPECT_EQ(ColorToString(0x00D5E7EA), QLatin1String("$00D5E7EA"));
    EXPECT_EQ(ColorToString(0x00281800), QLatin1String("$00281800"));
    EXPECT_EQ(ColorToString(0x0000FE), QLatin1String("$000000FE"));
    EXPECT_EQ(ColorToString(0xABCDEF12), QLatin1String("$ABCDEF12"));
}

TEST(ColorText, ReadingAcceptsShortHexDecimalAndRefusesTheRest)
{
    const struct
    {
        const char *text;
        std::optional<ColorRef> value;
    } cases[] = {
        {"$00D5E7EA", 0x00D5E7EA},    {"$ff", 0xFF},         {"$0", 0},
        {"$FFFFFFFF", 0xFFFFFFFF},    {"255", 255},          {"16777215", 0xFFFFFF},
        {"-1", 0xFFFFFFFF},           {" clRed ", 0x0000FF}, {"clred", 0x0000FF},
        {"$123456789", std::nullopt}, {"$", std::nullopt},   {"$12G4", std::nullopt},
        {"", std::nullopt},           {"red", std::nullopt}, {"12abc", std::nullopt},
        {"4294967296", std::nullopt}, {"No", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StringToColor(QLatin1String(c.text)), c.value) << c.text;
}

}  // namespace
}  // namespace lumetta
