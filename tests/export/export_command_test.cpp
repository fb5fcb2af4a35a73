// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_command.h"

#include "export/show_files.h"
#include "export/video_file_reader.h"
#include "support/picture_files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

using namespace lumetta;

namespace {

struct CommandRun
{
    int status;
    QString output;
    QString errors;
};

QString ReadAndClose(std::FILE *stream)
{
    std::rewind(stream);
    QByteArray text;
    char buffer[512];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, stream))
        text.append(buffer, qsizetype(read));
    std::fclose(stream);
    return QString::fromLocal8Bit(text);
}

CommandRun Command(const QStringList &arguments)
{
    std::FILE *output = std::tmpfile();
    std::FILE *errors = std::tmpfile();
    const int status = ExportProjectFile(arguments, output, errors);
    return {status, ReadAndClose(output), ReadAndClose(errors)};
}

QString NoiseShow(const QString &name, int pictures)
{
    QStringList paths;
    for (int i = 0; i < pictures; ++i)
        paths << testpictures::WriteTemp(QStringLiteral("noise%1.bmp").arg(i),
                                         testpictures::MakeBmp(testpictures::NoisePicture(64, 48, quint32(i + 1))));
    return testshows::WriteProjectFile(testshows::MakeShow(paths, 1, QStringLiteral("clBlack"), {QStringLiteral("11")}),
                                       name);
}

}  // namespace

TEST(ExportCommand, WritesTheVideoAndSaysNothingWhenAllGoesWell)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("cli.mkv"));
    const CommandRun run =
        Command({NoiseShow(QStringLiteral("cli.zut"), 2), target, QStringLiteral("--size"), QStringLiteral("64x48"),
                 QStringLiteral("--fps"), QStringLiteral("10"), QStringLiteral("--seed"), QStringLiteral("5"),
                 QStringLiteral("--quality"), QStringLiteral("lossless")});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.errors, QString());
    const testvideo::VideoFile video = testvideo::ReadVideoFile(target);
    // Two steps of the 1.7-second wipe, longer than the 1-second interval.
    EXPECT_EQ(video.frames.size(), 34u);
    EXPECT_EQ(QSize(video.width, video.height), QSize(64, 48));
}

TEST(ExportCommand, RefusesBadArgumentsWithTheUsage)
{
    const QString show = NoiseShow(QStringLiteral("args.zut"), 1);
    const QStringList cases[] = {
        {},
        {show},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("/tmp/b.mp4")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--size"), QStringLiteral("64")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--size"), QStringLiteral("axb")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--fps"), QStringLiteral("fast")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--quality"), QStringLiteral("great")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--slide-seconds"), QStringLiteral("0")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--seed")},
        {show, QStringLiteral("/tmp/a.mp4"), QStringLiteral("--colour"), QStringLiteral("red")},
    };
    for (const QStringList &arguments : cases) {
        const CommandRun run = Command(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.errors.startsWith(QStringLiteral("lumetta --export: "))) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QStringLiteral("Usage: lumetta --export"))) << run.errors.toStdString();
        EXPECT_EQ(run.output, QString());
    }
}

TEST(ExportCommand, HelpListsEveryOptionOnTheOutput)
{
    for (const char *help : {"--help", "-h"}) {
        const CommandRun run = Command({QLatin1String(help)});
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_EQ(run.errors, QString()) << help;
        EXPECT_TRUE(run.output.startsWith(QStringLiteral("Usage: lumetta --export [options] FILE.zut OUT")))
            << run.output.toStdString();
        for (const char *option : {"--size", "--fps", "--seed", "--slide-seconds", "--quality"})
            EXPECT_TRUE(run.output.contains(QLatin1String(option))) << option;
    }
}

TEST(ExportCommand, NamesTheProblemForBadFilesAndSettings)
{
    QTemporaryDir dir;
    const QString show = NoiseShow(QStringLiteral("bad.zut"), 1);
    const struct
    {
        QStringList arguments;
        const char *named;
    } cases[] = {
        {{dir.filePath(QStringLiteral("none.zut")), dir.filePath(QStringLiteral("a.mp4"))}, "none.zut"},
        {{show, dir.filePath(QStringLiteral("a.gif"))}, "a.gif"},
        {{show, dir.filePath(QStringLiteral("no/a.mp4"))}, "a.mp4"},
        {{show, dir.filePath(QStringLiteral("a.mp4")), QStringLiteral("--size"), QStringLiteral("65x48")}, "even"},
        {{show, dir.filePath(QStringLiteral("a.mp4")), QStringLiteral("--quality"), QStringLiteral("lossless")},
         ".mkv"},
    };
    for (const auto &c : cases) {
        const CommandRun run = Command(c.arguments);
        EXPECT_EQ(run.status, 1) << c.named;
        EXPECT_TRUE(run.errors.contains(QLatin1String(c.named))) << run.errors.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ExportCommand, AFullDiskFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString show = NoiseShow(QStringLiteral("full.zut"), 3);
    const QString target = dir.filePath(QStringLiteral("full.mkv"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old video");
    old.close();

    // The file size limit stands for the full disk: writes past 16 KiB fail with EFBIG.
    QProcess child;
    child.setProgram(QStringLiteral("bash"));
    child.setArguments({QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 16; exec \"$0\" \"$@\""),
                        QStringLiteral(LUMETTA_BINARY), QStringLiteral("--export"), show, target,
                        QStringLiteral("--size"), QStringLiteral("64x48"), QStringLiteral("--fps"),
                        QStringLiteral("10"), QStringLiteral("--quality"), QStringLiteral("lossless")});
    child.start();
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    EXPECT_TRUE(errors.contains(QStringLiteral("full.mkv"))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("File too large"))) << errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("full.mkv")});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the old video"));
}

TEST(ExportCommand, TheProgramEndsWithTheCommandsStatus)
{
    const struct
    {
        QStringList arguments;
        int status;
        const char *output;
        const char *errors;
    } cases[] = {
        {{QStringLiteral("--help")}, 0, "Usage: lumetta --export", ""},
        {{QStringLiteral("show.zut")}, 2, "", "Usage: lumetta --export"},
        {{QStringLiteral("show.zut"), QStringLiteral("a.mp4"), QStringLiteral("--fps")}, 2, "", "--fps"},
    };
    for (const auto &c : cases) {
        QProcess child;
        child.start(QStringLiteral(LUMETTA_BINARY), QStringList{QStringLiteral("--export")} + c.arguments);
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString what = c.arguments.join(QLatin1Char(' '));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << what.toStdString();
        EXPECT_EQ(child.exitCode(), c.status) << what.toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(child.readAllStandardOutput()).contains(QLatin1String(c.output)))
            << what.toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(child.readAllStandardError()).contains(QLatin1String(c.errors)))
            << what.toStdString();
    }
}
