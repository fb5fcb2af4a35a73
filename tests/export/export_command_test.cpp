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

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A local listener that records whether anything connected to it.
class Listener
{
public:
    Listener()
    {
        socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && ::listen(socket_, 8) == 0
            && ::getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(socket_); }

    int Port() const { return port_; }
    // True when a connection came (it waits in the backlog whether or not it was accepted).
    bool Connected() const
    {
        const int client = ::accept(socket_, nullptr, nullptr);
        if (client < 0)
            return false;
        ::close(client);
        return true;
    }

private:
    int socket_ = -1;
    int port_ = 0;
};

QString MusicShow(const QString &name, const QStringList &playlist)
{
    ShowProject project =
        testshows::MakeShow({testpictures::WriteTemp(QStringLiteral("music-show.bmp"),
                                                     testpictures::MakeBmp(testpictures::NoisePicture(64, 48, 3)))},
                            1, QStringLiteral("clBlack"), {QStringLiteral("21")});
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project.Playlist() = playlist;
    return testshows::WriteProjectFile(project, name);
}

// Standard input holding bytes an export must leave unread; restored when it goes.
class FilledStandardInput
{
public:
    explicit FilledStandardInput(const QByteArray &bytes)
    {
        saved_ = ::dup(STDIN_FILENO);
        int ends[2];
        if (::pipe(ends) == 0) {
            ::write(ends[1], bytes.constData(), size_t(bytes.size()));
            ::close(ends[1]);
            ::dup2(ends[0], STDIN_FILENO);
            ::close(ends[0]);
        }
    }
    ~FilledStandardInput()
    {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }
    QByteArray Left() const
    {
        char buffer[64];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        return got > 0 ? QByteArray(buffer, got) : QByteArray();
    }

private:
    int saved_ = -1;
};

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

// A shared project's music lines are names of local regular files and nothing else: a web
// address reaches no server, "pipe:0" reads nothing from standard input, and a pipe named like a
// track does not stop the export. As the first track each is refused by name, as a later one
// skipped with a warning naming it.
TEST(ExportCommand, MusicLinesOpenOnlyRegularLocalFiles)
{
    QTemporaryDir dir;
    const Listener listener;
    ASSERT_GT(listener.Port(), 0);
    const QString fifo = dir.filePath(QStringLiteral("m.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString good = testshows::WriteStereoWav(QStringLiteral("good.wav"), std::vector<std::int16_t>(9600, 100));
    const FilledStandardInput input("standard input");
    const QString web = QStringLiteral("http://127.0.0.1:%1/leak?x").arg(listener.Port());
    for (const QString &track : {web, QStringLiteral("pipe:0"), fifo}) {
        for (const bool first : {true, false}) {
            const QString show =
                MusicShow(QStringLiteral("music.zut"), first ? QStringList{track} : QStringList{good, track});
            const CommandRun run = Command({show, dir.filePath(QStringLiteral("music.mkv")), QStringLiteral("--size"),
                                            QStringLiteral("64x48"), QStringLiteral("--fps"), QStringLiteral("10")});
            EXPECT_EQ(run.status, first ? 1 : 0) << track.toStdString() << ": " << run.errors.toStdString();
            EXPECT_TRUE(run.errors.contains(QStringLiteral("Cannot read the music file ") + track))
                << run.errors.toStdString();
        }
    }
    EXPECT_FALSE(listener.Connected());
    EXPECT_EQ(input.Left(), QByteArray("standard input"));
}
