// SPDX-License-Identifier: GPL-3.0-or-later
// The lumetta program as a terminal runs it.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString errors;
};

// Runs lumetta without any display: what is checked here must not need one.
ProgramRun Lumetta(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
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
    EXPECT_EQ(version.out, "Lumetta XP 3.51\n");
}

TEST(MainTest, WrongCommandLinePrintsTheUsageAndEndsWithTwo)
{
    for (const QStringList &arguments :
         {QStringList{"--bogus"}, QStringList{"--play"}, QStringList{"--build", "a.zut"}}) {
        const ProgramRun run = Lumetta(arguments);
        const std::string given = arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << given;
        EXPECT_TRUE(run.out.isEmpty()) << given;
        EXPECT_TRUE(run.errors.startsWith("lumetta: ")) << given << ": " << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains("Usage: lumetta")) << given;
    }
}

}  // namespace
