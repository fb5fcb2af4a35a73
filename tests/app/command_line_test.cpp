// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "support/qstring_print.h"

#include <gtest/gtest.h>

namespace lumetta {
namespace {

using Mode = CommandLine::Mode;

TEST(CommandLineTest, ReadsWhatTheArgumentsAskFor)
{
    const struct
    {
        QStringList arguments;
        Mode mode;
        const char *file;
        const char *output;
    } cases[] = {
        {{}, Mode::Edit, "", ""},
        {{"show.zut"}, Mode::Edit, "show.zut", ""},
        {{"--play", "show.zut"}, Mode::Play, "show.zut", ""},
        {{"show.zut", "--play"}, Mode::Play, "show.zut", ""},
        // A launcher's Play action names no file: the last project plays.
        {{"--play"}, Mode::Play, "", ""},
        {{"--build", "show.zut", "out"}, Mode::Build, "show.zut", "out"},
        {{"--help"}, Mode::Help, "", ""},
        {{"-h"}, Mode::Help, "", ""},
        {{"--help-all"}, Mode::Help, "", ""},
        {{"--version", "show.zut"}, Mode::Version, "", ""},
        {{"-v"}, Mode::Version, "", ""},
        // QApplication's own options are left to it.
        {{"-platform", "offscreen", "show.zut"}, Mode::Edit, "show.zut", ""},
        {{"--style", "fusion", "-reverse"}, Mode::Edit, "", ""},
        // After "--" a name that looks like an option is a file.
        {{"--play", "--", "--odd.zut"}, Mode::Play, "--odd.zut", ""},
    };
    for (const auto &c : cases) {
        const CommandLine line = CommandLine::Parse(QStringList{"lumetta"} + c.arguments);
        const std::string given = c.arguments.join(' ').toStdString();
        EXPECT_EQ(int(line.RunMode()), int(c.mode)) << given << ": " << line.ErrorText().toStdString();
        EXPECT_EQ(line.File(), QLatin1String(c.file)) << given;
        EXPECT_EQ(line.Output(), QLatin1String(c.output)) << given;
    }
}

TEST(CommandLineTest, WrongCommandLinesSayWhy)
{
    const struct
    {
        QStringList arguments;
        const char *error;
    } cases[] = {
        {{"--bogus"}, "Unknown option 'bogus'"},
        {{"-x"}, "Unknown option 'x'"},
        {{"--play", "a.zut", "b.zut"}, "--play plays one FILE.zut"},
        {{"--build", "a.zut"}, "--build needs FILE.zut and OUTPUT"},
        {{"--build", "a.zut", "b", "c"}, "--build needs FILE.zut and OUTPUT"},
        {{"--play", "--build", "a.zut", "b"}, "cannot be used together"},
        {{"a.zut", "b.zut"}, "2 were given"},
        {{"-platform"}, "Missing value after '-platform'"},
        {{"--play", "--screen", "x", "a.zut"}, "--screen needs a screen number from 0"},
        {{"--play", "--screen", "-1", "a.zut"}, "--screen needs a screen number from 0"},
        {{"--screen", "1", "a.zut"}, "--screen goes with --play"},
        {{"--play", "a.zut", "--screen"}, "Missing value after '--screen'"},
    };
    for (const auto &c : cases) {
        const CommandLine line = CommandLine::Parse(QStringList{"lumetta"} + c.arguments);
        const std::string given = c.arguments.join(' ').toStdString();
        EXPECT_EQ(int(line.RunMode()), int(Mode::Usage)) << given;
        EXPECT_TRUE(line.ErrorText().contains(QLatin1String(c.error)))
            << given << ": " << line.ErrorText().toStdString();
    }
}

TEST(CommandLineTest, PlayTakesAScreenByNumber)
{
    EXPECT_EQ(CommandLine::Parse({"lumetta", "--play", "a.zut"}).Screen(), std::nullopt);
    const CommandLine second = CommandLine::Parse({"lumetta", "--play", "--screen", "1", "a.zut"});
    EXPECT_EQ(int(second.RunMode()), int(Mode::Play));
    EXPECT_EQ(second.Screen(), 1);
    EXPECT_EQ(second.File(), QStringLiteral("a.zut"));
    EXPECT_EQ(CommandLine::Parse({"lumetta", "--screen=0", "--play", "a.zut"}).Screen(), 0);
}

TEST(CommandLineTest, HelpNamesTheProgramAndEveryWayToRunIt)
{
    const QString help = CommandLine::HelpText();
    EXPECT_TRUE(help.startsWith("Usage: lumetta [options]")) << help.toStdString();
    for (const char *part : {"--play", "--build", "--help", "--version", "FILE.zut", "OUTPUT"})
        EXPECT_TRUE(help.contains(QLatin1String(part))) << part;
    // QApplication's options stay out of the short help.
    EXPECT_FALSE(help.contains("platformtheme"));
    const QStringList version = CommandLine::VersionText().split(u'\n');
    EXPECT_EQ(version[0], "lumetta (Lumetta XP) 3.51");
    EXPECT_EQ(version[1], "Copyright (C) 2024 the Lumetta developers");
    EXPECT_TRUE(version[2].startsWith("License GPL-3.0-or-later: GNU GPL version 3 or later"))
        << version[2].toStdString();
}

TEST(CommandLineTest, ExportIsFoundWhereverItStandsAmongTheOptions)
{
    const auto list = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };
    const struct
    {
        const char *arguments;
        std::optional<QStringList> exported;
    } cases[] = {
        {"lumetta --export a.zut b.mp4", list("a.zut b.mp4")},
        {"lumetta --size 64x48 --export a.zut b.mp4", list("--size 64x48 a.zut b.mp4")},
        {"lumetta a.zut --export b.mp4 -y", list("a.zut b.mp4 -y")},
        {"lumetta a.zut b.mp4 -export", list("a.zut b.mp4")},
        {"lumetta --play a.zut", std::nullopt},
        {"lumetta a.zut", std::nullopt},
        {"lumetta -- --export", std::nullopt},
        {"lumetta --exported a.zut", std::nullopt},
        {"--export", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CommandLine::ExportArguments(list(c.arguments)), c.exported) << c.arguments;
}

}  // namespace
}  // namespace lumetta
