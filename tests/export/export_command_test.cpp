// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_command.h"

#include "export/show_files.h"
#include "export/video_file_reader.h"
#include "support/picture_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
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

CommandRun Command(const QStringList &arguments)
{
    std::FILE *output = std::tmpfile();
    std::FILE *errors = std::tmpfile();
    const int status = ExportProjectFile(arguments, output, errors);
    return {status, testshows::ReadAndClose(output), testshows::ReadAndClose(errors)};
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
    // The first slide at once, then the 1.7-second wipe from 1 s, longer than the interval.
    EXPECT_EQ(video.frames.size(), 27u);
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
        {{show, dir.filePath(QStringLiteral("a.mp4")), QStringLiteral("--size"), QStringLiteral("8194x48")}, "8192"},
        {{show, dir.filePath(QStringLiteral("a.mp4")), QStringLiteral("--size"), QStringLiteral("7680x7680")},
         "million pixels"},
        {{show, dir.filePath(QStringLiteral("a.mp4")), QStringLiteral("--fps"), QStringLiteral("121")}, "120"},
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
                        QStringLiteral("10"), QStringLiteral("--quality"), QStringLiteral("lossless"),
                        QStringLiteral("--force")});
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

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What stands at PATH without following a last link: a regular file, a pipe, a device...
mode_t FileType(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

}  // namespace

TEST(ExportCommand, NeverWritesOverTheShowsOwnFilesEvenWithForce)
{
    QTemporaryDir dir;
    // Files named as videos, so only their being the show's stops the export.
    const QString picture = dir.filePath(QStringLiteral("photo.mkv"));
    const QString background = dir.filePath(QStringLiteral("back.webm"));
    const QString track = dir.filePath(QStringLiteral("song.mp4"));
    for (const QString &path : {picture, background, track})
        WriteBytes(path, QFileInfo(path).fileName().toUtf8());
    ShowProject show = testshows::MakeShow({testshows::WriteSolidBmp(QStringLiteral("own.bmp"), {8, 8}, Qt::red),
                                            picture},
                                           1, QStringLiteral("clBlack"), {QStringLiteral("11")});
    show.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    show.Settings().Put(ShowSettings::BackgroundLine, background);
    show.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    show.Playlist() = {track};
    const QString project = dir.filePath(QStringLiteral("show.mp4"));
    ASSERT_TRUE(QFile::rename(testshows::WriteProjectFile(show, QStringLiteral("own.zut")), project));
    ASSERT_TRUE(QFile::link(track, dir.filePath(QStringLiteral("link.mp4"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("photo.mkv"), dir.filePath(QStringLiteral("relative.mkv"))));
    ASSERT_EQ(::link(QFile::encodeName(background).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.webm"))).constData()),
              0);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    const QByteArray projectBytes = Bytes(project);

    const struct
    {
        const char *target;
        const char *role;
    } cases[] = {
        {"show.mp4", "the project file itself"},
        {"photo.mkv", "one of the show's pictures"},
        {"back.webm", "the show's background picture"},
        {"song.mp4", "one of the show's music files"},
        {"link.mp4", "one of the show's music files"},
        {"relative.mkv", "one of the show's pictures"},
        {"hard.webm", "the show's background picture"},
    };
    for (const auto &c : cases) {
        const QString target = dir.filePath(QLatin1String(c.target));
        const CommandRun run = Command({project, target, QStringLiteral("--force")});
        EXPECT_EQ(run.status, 1) << c.target;
        EXPECT_TRUE(run.errors.contains(target)) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QLatin1String(c.role))) << run.errors.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), before);
    EXPECT_EQ(Bytes(project), projectBytes);
    for (const QString &path : {picture, background, track})
        EXPECT_EQ(Bytes(path), QFileInfo(path).fileName().toUtf8());
}

TEST(ExportCommand, ReplacesAFileOnlyWithForceAndNeverAReadOnlyOne)
{
    const QString show = NoiseShow(QStringLiteral("force.zut"), 1);
    const struct
    {
        const char *what;
        QStringList options;
        bool readOnly;
        int status;
        const char *said;
    } cases[] = {
        {"no option", {}, false, 1, "--force"},
        {"--force", {QStringLiteral("--force")}, false, 0, ""},
        {"-y", {QStringLiteral("-y")}, false, 0, ""},
        {"read-only, --force", {QStringLiteral("--force")}, true, 1, "read-only"},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("old.mkv"));
        WriteBytes(target, "the old video");
        if (c.readOnly)
            ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const CommandRun run = Command(QStringList{show, target, QStringLiteral("--size"), QStringLiteral("64x48"),
                                                   QStringLiteral("--fps"), QStringLiteral("10"),
                                                   QStringLiteral("--quality"), QStringLiteral("lossless")}
                                       + c.options);
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QLatin1String(c.said))) << c.what << ": " << run.errors.toStdString();
        if (c.status == 0)
            EXPECT_EQ(testvideo::ReadVideoFile(target).width, 64) << c.what;
        else
            EXPECT_EQ(Bytes(target), QByteArray("the old video")) << c.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.mkv")})
            << c.what;
    }
}

TEST(ExportCommand, APipeOrADeviceIsNeverATarget)
{
    QTemporaryDir dir;
    const QString show = NoiseShow(QStringLiteral("special.zut"), 1);
    const QString pipe = dir.filePath(QStringLiteral("pipe.mp4"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString device = dir.filePath(QStringLiteral("null.mp4"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
    for (const QString &target : {pipe, device}) {
        const CommandRun run = Command({show, target, QStringLiteral("--force")});
        EXPECT_EQ(run.status, 1) << target.toStdString();
        EXPECT_TRUE(run.errors.contains(target + QStringLiteral(": it is not a regular file")))
            << run.errors.toStdString();
    }
    EXPECT_EQ(FileType(pipe), mode_t(S_IFIFO));
    EXPECT_EQ(FileType(device), mode_t(S_IFLNK));
    EXPECT_EQ(FileType(QStringLiteral("/dev/null")), mode_t(S_IFCHR));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
              2);
}

TEST(ExportCommand, TheNextExportRemovesWhatADeadOneLeft)
{
    QTemporaryDir dir;
    const QString show = NoiseShow(QStringLiteral("left.zut"), 1);
    const QString target = dir.filePath(QStringLiteral("left.mkv"));
    // What a killed export left, beside files that only look alike.
    for (const char *name : {".left.mkv.part-0badc0de", ".left.mkv.part-12345678", ".left.mkv.part-xyz",
                             ".other.mkv.part-0badc0de", "left.mkv.part-0badc0de"})
        WriteBytes(dir.filePath(QLatin1String(name)), "partial");
    const CommandRun run = Command({show, target, QStringLiteral("--size"), QStringLiteral("64x48"),
                                    QStringLiteral("--fps"), QStringLiteral("10"), QStringLiteral("--quality"),
                                    QStringLiteral("lossless")});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral(".left.mkv.part-xyz"), QStringLiteral(".other.mkv.part-0badc0de"),
                           QStringLiteral("left.mkv"), QStringLiteral("left.mkv.part-0badc0de")}));
}

TEST(ExportCommand, OddSizesAreRoundedAndFractionalRatesKeptExactly)
{
    const QString show = NoiseShow(QStringLiteral("odd.zut"), 1);
    for (const char *rate : {"30000/1001", "29.97"}) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("odd.mkv"));
        // `--export` among the options, not first: the program finds it wherever it stands.
        QProcess child;
        child.start(QStringLiteral(LUMETTA_BINARY),
                    {QStringLiteral("--size"), QStringLiteral("65x49"), QStringLiteral("--export"), show, target,
                     QStringLiteral("--fps"), QLatin1String(rate), QStringLiteral("--quality"),
                     QStringLiteral("lossless")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        EXPECT_EQ(child.exitCode(), 0) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("note: The video size 65x49 is rounded to 64x48")))
            << errors.toStdString();
        const testvideo::VideoFile video = testvideo::ReadVideoFile(target);
        EXPECT_EQ(QSize(video.width, video.height), QSize(64, 48)) << rate;
        EXPECT_EQ(video.rateNum, 30000) << rate;
        EXPECT_EQ(video.rateDen, 1001) << rate;
        // One slide of one second: the first frame at or after 1000 ms is frame 30.
        EXPECT_EQ(video.frames.size(), 30u) << rate;
    }
}

TEST(ExportCommand, ASignalStopsTheExportAndLeavesNoFile)
{
    // Pictures of their own so the folder holds nothing but what the export writes.
    const QString show = NoiseShow(QStringLiteral("signal.zut"), 3);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("stopped.mp4"));
        QProcess child;
        child.start(QStringLiteral(LUMETTA_BINARY), {QStringLiteral("--export"), show, target,
                                                     QStringLiteral("--size"), QStringLiteral("1920x1080"),
                                                     QStringLiteral("--quality"), QStringLiteral("best")});
        ASSERT_TRUE(child.waitForStarted());
        // Signalled once the video is being written.
        QElapsedTimer waited;
        waited.start();
        while (QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty() && waited.elapsed() < 60000
               && child.state() == QProcess::Running)
            QThread::msleep(10);
        ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
        ASSERT_EQ(::kill(pid_t(child.processId()), signalNumber), 0);
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(child.exitCode(), 128 + signalNumber) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("was not written"))) << errors.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList()) << signalNumber;
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
            const CommandRun run = Command({show, dir.filePath(QStringLiteral("music.mkv")), QStringLiteral("--force"),
                                            QStringLiteral("--size"),
                                            QStringLiteral("64x48"), QStringLiteral("--fps"), QStringLiteral("10")});
            EXPECT_EQ(run.status, first ? 1 : 0) << track.toStdString() << ": " << run.errors.toStdString();
            EXPECT_TRUE(run.errors.contains(QStringLiteral("Cannot read the music file ") + track))
                << run.errors.toStdString();
        }
    }
    EXPECT_FALSE(listener.Connected());
    EXPECT_EQ(input.Left(), QByteArray("standard input"));
}
