// SPDX-License-Identifier: GPL-3.0-or-later
// The lumetta program as a terminal runs it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString errors;
};

// Runs lumetta without any display (unless SET names one): what is checked here must not need one.
ProgramRun Lumetta(const QStringList &arguments, const QList<std::pair<const char *, QString>> &set = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    for (const auto &[name, value] : set)
        environment.insert(QLatin1String(name), value);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMETTA_PROGRAM_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(MainTest, HelpAndVersionPrintAndEndWithZero)
{
    const ProgramRun help = Lumetta({"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.errors.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: lumetta [options] [FILE.zut] [OUTPUT]")) << help.out.toStdString();
    EXPECT_TRUE(help.errors.isEmpty()) << help.errors.toStdString();
    const ProgramRun version = Lumetta({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("lumetta (Lumetta XP) 3.51\nCopyright (C) 2024 the Lumetta developers\n"
                                       "License GPL-3.0-or-later"))
        << version.out.toStdString();
}

TEST(MainTest, WrongCommandLinePrintsTheUsageAndEndsWithTwo)
{
    for (const QStringList &arguments :
         {QStringList{"--bogus"}, QStringList{"--play", "a.zut", "b.zut"}, QStringList{"--build", "a.zut"}}) {
        const ProgramRun run = Lumetta(arguments);
        const std::string given = arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << given;
        EXPECT_TRUE(run.out.isEmpty()) << given;
        EXPECT_TRUE(run.errors.startsWith("lumetta: ")) << given << ": " << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains("Usage: lumetta")) << given;
    }
}

// Started from a launcher's Play action, or from a terminal, where no display can be opened: one
// line saying so and status 1, not Qt's abort.
TEST(MainTest, WithoutADisplayTheWindowsSaySoAndEndWithOne)
{
    QTemporaryDir config;
    const QList<std::pair<const char *, QString>> unset{{"XDG_CONFIG_HOME", config.path()}};
    const QList<std::pair<const char *, QString>> unreachable{{"XDG_CONFIG_HOME", config.path()},
                                                              {"DISPLAY", QStringLiteral(":4711")}};
    for (const auto *environment : {&unset, &unreachable})
        for (const QStringList &arguments : {QStringList{}, QStringList{"--play"}, QStringList{"--play", "show.zut"}}) {
            const ProgramRun run = Lumetta(arguments, *environment);
            const std::string given =
                arguments.join(' ').toStdString() + " DISPLAY=" + (*environment).back().second.toStdString();
            EXPECT_EQ(run.exitCode, 1) << given;
            EXPECT_TRUE(run.errors.startsWith("lumetta: cannot open a display: "))
                << given << ": " << run.errors.toStdString();
            EXPECT_EQ(run.errors.count(u'\n'), 1) << given << ": " << run.errors.toStdString();
            EXPECT_TRUE(run.out.isEmpty()) << given;
        }
    EXPECT_TRUE(QDir(config.path()).isEmpty());
}

// A launcher's Play action names no file: the newest recent project plays.
TEST(MainTest, PlayWithoutAFilePlaysTheLastProject)
{
    QTemporaryDir config;
    const QString folder = config.filePath("Lumetta");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString project = config.filePath("empty.zut");
    QFile text(project);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("2\r\n80\r\nRandom\r\nNo music\r\n$00D5E7EA_clWhite\r\nLoop\r\nColor\r\nTile\r\nNo\r\nShadow\r\n"
               "[TRANS]\r\n0\r\n[MUSIC]\r\n");
    text.close();
    QFile recent(QDir(folder).filePath("projects.lst"));
    ASSERT_TRUE(recent.open(QIODevice::WriteOnly));
    recent.write(QFile::encodeName(config.filePath("gone.zut")) + "\r\n" + QFile::encodeName(project) + "\r\n");
    recent.close();

    const ProgramRun run = Lumetta({"--play"}, {{"XDG_CONFIG_HOME", config.path()}, {"QT_QPA_PLATFORM", "offscreen"}});
    // The project has no pictures, which the player reports naming it.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(project + " holds no pictures")) << run.errors.toStdString();
}

}  // namespace
