// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "show/show_settings.h"
#include "support/photo_files.h"
#include "support/picture_files.h"
#include "support/qstring_print.h"
#include "support/wav_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace lumetta {
namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

struct Outcome
{
    int exitCode = -1;
    QByteArray errors;
};

// Runs PROGRAM to its end (at most 60 s) with ENVIRONMENT changes applied.
Outcome RunProgram(const QString &program, const QStringList &arguments,
                   const QList<std::pair<QString, QString>> &environment = {}, const QStringList &unset = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const auto &[name, value] : environment)
        env.insert(name, value);
    for (const QString &name : unset)
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError()};
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StubTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkpath("tmp");
    }

    // A project of one JPEG that shows for a second without an effect and does not loop, with
    // the given playlist played once.
    QString ShortProject(const QString &picture, const QStringList &playlist = {})
    {
        QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
        lines[ShowSettings::AdvanceLine] = "1";
        lines[ShowSettings::EffectsLine] = "No effect";
        lines[ShowSettings::LoopingLine] = "No";
        if (!playlist.isEmpty())
            lines[ShowSettings::MusicLine] = "NoRepeat";
        lines << picture << "[TRANS]"
              << "0"
              << "[MUSIC]" << playlist;
        const QString path = dir_.filePath("short.zut");
        WriteTextFile(path, lines);
        return path;
    }

    QString Picture()
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = dir_.filePath("green.jpg");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(testpictures::MakeJpeg(image));
        return path;
    }

    // Builds with `lumetta --build`, on no display at all.
    Outcome Build(const QString &project, const QString &output)
    {
        return RunProgram(LUMETTA_PROGRAM_PATH, {"--build", project, output}, {},
                          {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    }

    QTemporaryDir dir_;
};

TEST_F(StubTest, ScreenSaverSettingsAndPreviewEndQuietly)
{
    for (const QStringList &arguments : {QStringList{"/c"}, QStringList{"/C:1234"}, QStringList{"/p", "4711"},
                                         QStringList{"-c"}, QStringList{"-C:1234"}, QStringList{"-p", "4711"}}) {
        const Outcome run = RunProgram(LUMETTA_STUB_PATH, arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.errors, QByteArray());
    }
    EXPECT_EQ(RunProgram(LUMETTA_STUB_PATH, {"--frobnicate"}).exitCode, 2);
    EXPECT_EQ(RunProgram(LUMETTA_STUB_PATH, {"-x"}).exitCode, 2);
}

TEST_F(StubTest, ShowsWithSlashOrDashS)
{
    const QString output = dir_.filePath("short.scr");
    ASSERT_EQ(Build(ShortProject(Picture()), output).exitCode, 0);
    for (const char *argument : {"/s", "-s", "-S"}) {
        const Outcome play = RunProgram(output, {argument}, {{"TMPDIR", dir_.filePath("tmp")}});
        EXPECT_EQ(play.exitCode, 0) << argument << play.errors.constData();
    }
}

TEST_F(StubTest, WithoutADisplayThePlayerSaysSoAndEndsWithOne)
{
    const QString output = dir_.filePath("short");
    ASSERT_EQ(Build(ShortProject(Picture()), output).exitCode, 0);
    const QStringList noDisplay{"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const QStringList unreachable{"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"};
    const struct
    {
        QString program;
        const char *name;
        const char *display;
        const QStringList &unset;
    } cases[] = {
        {LUMETTA_STUB_PATH, "AEXE.tms", "", noDisplay},
        {output, "short", "", noDisplay},
        {output, "short", ":4711", unreachable},
    };
    for (const auto &c : cases) {
        const Outcome run =
            RunProgram(c.program, {}, {{"TMPDIR", dir_.filePath("tmp")}, {"DISPLAY", c.display}}, c.unset);
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.errors.startsWith(QByteArray(c.name) + ": cannot open a display: ")) << run.errors.constData();
        EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.constData();
    }
    // Nothing was unpacked.
    EXPECT_TRUE(QDir(dir_.filePath("tmp")).isEmpty());
}

TEST_F(StubTest, HelpVersionAndWrongArgumentsNeedNoDisplay)
{
    const QStringList noDisplay{"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    QProcess help;
    help.start(LUMETTA_STUB_PATH, {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray usage = help.readAllStandardOutput();
    EXPECT_TRUE(usage.startsWith("Usage: AEXE.tms [options] [/s | /c | /p]")) << usage.constData();
    EXPECT_TRUE(usage.contains("/s (or none) shows the show")) << usage.constData();

    EXPECT_EQ(RunProgram(LUMETTA_STUB_PATH, {"--version"}, {}, noDisplay).exitCode, 0);
    const struct
    {
        QStringList arguments;
        const char *error;
    } wrong[] = {
        {{"--frobnicate"}, "Unknown option 'frobnicate'"},
        {{"-x"}, "Unknown option 'x'"},
        {{"show"}, "unknown argument show (use /s, /c or /p; -s, -c or -p)"},
        {{"-sx"}, "Unknown options: s, x."},
        {{"/s", "/s"}, "unknown argument /s /s"},
    };
    for (const auto &c : wrong) {
        const Outcome run = RunProgram(LUMETTA_STUB_PATH, c.arguments, {}, noDisplay);
        EXPECT_EQ(run.exitCode, 2) << c.error;
        EXPECT_TRUE(run.errors.contains(c.error)) << run.errors.constData();
        EXPECT_TRUE(run.errors.contains("Usage: AEXE.tms")) << run.errors.constData();
    }
    // Settings and preview requests end at once in either spelling, before any display is needed.
    for (const QStringList &request : {QStringList{"-c"}, QStringList{"-P", "1234"}, QStringList{"/c:5678"}})
        EXPECT_EQ(RunProgram(LUMETTA_STUB_PATH, request, {}, noDisplay).exitCode, 0)
            << request.join(u' ').toStdString();
}

TEST_F(StubTest, StubWithoutAShowSaysSo)
{
    const Outcome run = RunProgram(LUMETTA_STUB_PATH, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("holds no valid slide show")) << run.errors.constData();
}

TEST_F(StubTest, BuiltShowPlaysToItsEndAndCleansUp)
{
    const QString output = dir_.filePath("short.scr");
    const Outcome build = Build(ShortProject(Picture(), {testsounds::WriteWav("tone.wav", 300)}), output);
    ASSERT_EQ(build.exitCode, 0) << build.errors.constData();
    EXPECT_TRUE(ReadAll(output).startsWith(ReadAll(LUMETTA_STUB_PATH)));
    EXPECT_TRUE(QFileInfo(output).isExecutable());

    const QString tmp = dir_.filePath("tmp");
    const Outcome play = RunProgram(output, {"/s"}, {{"TMPDIR", tmp}});
    EXPECT_EQ(play.exitCode, 0) << play.errors.constData();
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

TEST_F(StubTest, EndingALoopingShowBySignalRemovesItsFiles)
{
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    lines << Picture() << "[TRANS]"
          << "0"
          << "[MUSIC]";
    WriteTextFile(dir_.filePath("loop.zut"), lines);
    const QString output = dir_.filePath("loop.exe");
    ASSERT_EQ(Build(dir_.filePath("loop.zut"), output).exitCode, 0);

    const QString tmp = dir_.filePath("tmp");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", tmp);
    process.setProcessEnvironment(env);
    process.start(output, {});
    const auto unpacked = [&] { return QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); };
    for (int i = 0; i < 200 && unpacked().isEmpty(); ++i)
        QThread::msleep(20);
    ASSERT_FALSE(unpacked().isEmpty());
    QThread::msleep(500);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(unpacked(), QStringList());
}

// Run on a real X server (stub_tests.x11), where the screen can be read back.
TEST_F(StubTest, BuiltShowOfPhotosShowsThemUpright)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QImage upright = testpictures::QuadrantPicture(160, 120);
    const std::pair<QString, QByteArray> photos[] = {
        {"flat.png", testpictures::MakeQtPicture(upright, "png")},
        {"phone.HEIC", testpictures::MakeHeif(testpictures::StoredForOrientation(upright, 6), false, 6)},
        {"camera.jpg",
         testpictures::WithJpegApp1(testpictures::MakeJpeg(testpictures::StoredForOrientation(upright, 6)),
                                    testpictures::MakeExifBlock(6))},
        {"mirror.jpg",
         testpictures::WithJpegApp1(testpictures::MakeJpeg(testpictures::StoredForOrientation(upright, 7)),
                                    testpictures::MakeExifBlock(7, true))},
    };
    for (const auto &[name, data] : photos) {
        // One picture, shown until a key, at half the screen, centred on a black screen.
        QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
        lines[ShowSettings::AdvanceLine] = "Manual";
        lines[ShowSettings::PictureSizeLine] = "50";
        lines[ShowSettings::EffectsLine] = "No effect";
        lines[ShowSettings::BackgroundLine] = "clBlack_clBlack";
        lines[ShowSettings::CaptionLine] = "No";
        lines << testpictures::WriteTemp(name, data) << "[TRANS]"
              << "0"
              << "[MUSIC]";
        WriteTextFile(dir_.filePath("photo.zut"), lines);
        const QString output = dir_.filePath("photo-" + name + ".exe");
        ASSERT_EQ(Build(dir_.filePath("photo.zut"), output).exitCode, 0) << name.toStdString();

        QProcess show;
        show.start(output, {});
        QScreen *screen = QGuiApplication::primaryScreen();
        const QPoint centre = screen->geometry().center();
        const int d = screen->geometry().height() / 8;
        const auto colourAt = [&](const QImage &shot, int dx, int dy) {
            return shot.pixel(centre.x() + dx, centre.y() + dy);
        };
        const auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) < 60 && std::abs(qGreen(a) - qGreen(b)) < 60
                   && std::abs(qBlue(a) - qBlue(b)) < 60;
        };
        QImage shot;
        for (int i = 0; i < 150; ++i) {
            QThread::msleep(100);
            shot = screen->grabWindow(0).toImage();
            if (near(colourAt(shot, -d, -d), qRgb(255, 0, 0)))
                break;
        }
        EXPECT_TRUE(near(colourAt(shot, -d, -d), qRgb(255, 0, 0))) << name.toStdString() << ": red at the top left";
        EXPECT_TRUE(near(colourAt(shot, d, -d), qRgb(0, 255, 0))) << name.toStdString() << ": green at the top right";
        EXPECT_TRUE(near(colourAt(shot, -d, d), qRgb(0, 0, 255))) << name.toStdString() << ": blue at the bottom left";
        EXPECT_TRUE(near(colourAt(shot, d, d), qRgb(255, 255, 255)))
            << name.toStdString() << ": white at the bottom right";
        // The slide is landscape: the screen left of it stays black.
        EXPECT_TRUE(near(colourAt(shot, -screen->geometry().width() * 3 / 8 - 20, 0), qRgb(0, 0, 0)))
            << name.toStdString();
        show.terminate();
        EXPECT_TRUE(show.waitForFinished(30000));
    }
}

TEST_F(StubTest, DamagedShowIsRefused)
{
    const QString output = dir_.filePath("short.exe");
    ASSERT_EQ(Build(ShortProject(Picture()), output).exitCode, 0);
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 1));
    file.close();
    const Outcome play = RunProgram(output, {});
    EXPECT_EQ(play.exitCode, 1);
    EXPECT_TRUE(play.errors.contains("holds no valid slide show")) << play.errors.constData();
}

TEST_F(StubTest, BuildReportsErrorsAndLeavesNoFile)
{
    Outcome run = RunProgram(LUMETTA_PROGRAM_PATH, {"--build", ShortProject(Picture())}, {}, {"DISPLAY"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains("--build needs FILE.zut and OUTPUT")) << run.errors.constData();

    const QString output = dir_.filePath("out.exe");
    run = Build(dir_.filePath("missing.zut"), output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("Cannot open file")) << run.errors.constData();

    run = Build(ShortProject(dir_.filePath("gone.jpg")), output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("gone.jpg")) << run.errors.constData();
    EXPECT_FALSE(QFile::exists(output));

    // An existing output is replaced whole, never extended.
    QFile old(output);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4 << 20, 'x'));
    old.close();
    const QString project = ShortProject(Picture());
    ASSERT_EQ(Build(project, output).exitCode, 0);
    ASSERT_EQ(Build(project, dir_.filePath("fresh.exe")).exitCode, 0);
    EXPECT_EQ(ReadAll(output), ReadAll(dir_.filePath("fresh.exe")));
}

// `--build self.zut self.zut` used to replace the project with the built show.
TEST_F(StubTest, BuildRefusesTheShowsOwnFilesAsItsTarget)
{
    const QString picture = Picture();
    const QString project = ShortProject(picture);
    const QByteArray projectBytes = ReadAll(project);
    const QByteArray pictureBytes = ReadAll(picture);
    for (const auto &[target, what] :
         {std::pair{project, "the project file itself"}, std::pair{picture, "one of the show's pictures"}}) {
        const Outcome run = Build(project, target);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, QStringLiteral("lumetta: Cannot create file %1: it is %2\n").arg(target, what).toUtf8());
    }
    EXPECT_EQ(ReadAll(project), projectBytes);
    EXPECT_EQ(ReadAll(picture), pictureBytes);
}

TEST_F(StubTest, BuildRefusesMusicThatIsNoRegularFile)
{
    const QString zero = dir_.filePath("zero.wav");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString output = dir_.filePath("out.exe");
    const Outcome run = Build(ShortProject(Picture(), {zero}), output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors,
              QStringLiteral("lumetta: Cannot open file %1: it is a device, not a regular file\n").arg(zero).toUtf8());
    EXPECT_FALSE(QFile::exists(output));
}

// A show without pictures would only complain when started: --build refuses it as --play does.
TEST_F(StubTest, BuildRefusesAProjectWithoutPictures)
{
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    lines << "[TRANS]"
          << "1"
          << "[MUSIC]";
    const QString project = dir_.filePath("empty.zut");
    WriteTextFile(project, lines);
    const QString output = dir_.filePath("empty.exe");
    const Outcome run = Build(project, output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, QStringLiteral("lumetta: %1 holds no pictures to show\n").arg(project).toUtf8());
    EXPECT_FALSE(QFile::exists(output));
}

// Past a file size limit (as on a full disk) the build says what failed, with the system's
// reason, instead of being ended by SIGXFSZ without a word; no partial file stays.
TEST_F(StubTest, BuildUnderAFileSizeLimitReportsTheWriteError)
{
    const QString project = ShortProject(Picture());
    const QString output = dir_.filePath("limited.exe");
    const QStringList before = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
    const Outcome run = RunProgram(
        "bash", {"-c", "ulimit -f 16; exec \"$0\" \"$@\"", LUMETTA_PROGRAM_PATH, "--build", project, output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.errors.startsWith(QStringLiteral("lumetta: Cannot create file %1: File too large").arg(output).toUtf8()))
        << run.errors.constData();
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), before);
}

// The number of a process that has ended.
qint64 EndedProcess()
{
    QProcess process;
    process.start("true", {});
    EXPECT_TRUE(process.waitForFinished());
    return process.processId();
}

TEST_F(StubTest, FoldersLeftByKilledPlayersGoAtTheNextStart)
{
    const QString output = dir_.filePath("short.exe");
    ASSERT_EQ(Build(ShortProject(Picture()), output).exitCode, 0);
    const QDir tmp(dir_.filePath("tmp"));
    const QString stale = QStringLiteral("Lumetta-%1-k1LLed").arg(EndedProcess());
    const QString live = QStringLiteral("Lumetta-%1-l1ving").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(tmp.mkpath(stale + "/pictures/0000"));
    ASSERT_TRUE(tmp.mkpath(live));
    const Outcome play = RunProgram(output, {}, {{"TMPDIR", tmp.path()}});
    EXPECT_EQ(play.exitCode, 0) << play.errors.constData();
    EXPECT_EQ(tmp.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{live});
}

// Unpacking that fails half-way (here: files may not grow past 1 KiB) leaves nothing behind.
TEST_F(StubTest, FailedUnpackingRemovesThePartialShow)
{
    QImage noise(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * y) & 255, (x ^ y) & 255));
    const QString big = dir_.filePath("noise.jpg");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testpictures::MakeJpeg(noise));
    file.close();
    ASSERT_GT(QFileInfo(big).size(), 4096);
    const QString output = dir_.filePath("short.exe");
    ASSERT_EQ(Build(ShortProject(big), output).exitCode, 0);

    const QString tmp = dir_.filePath("tmp");
    // An ignored SIGXFSZ makes a write past the limit fail instead of ending the program.
    const Outcome play =
        RunProgram("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\"", output}, {{"TMPDIR", tmp}});
    EXPECT_EQ(play.exitCode, 1);
    EXPECT_TRUE(play.errors.contains("Cannot create file")) << play.errors.constData();
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

// A crafted show of twenty million one-character lines is refused with a reason in words, and
// the player never holds those lines.
TEST_F(StubTest, MillionsOfProjectLinesAreRefusedInWordsWithinBoundedMemory)
{
    QByteArray text = EncodeLines(ShowSettings::DefaultLines(ShowSettings::Defaults::Start));
    text += QByteArray("a\r\n").repeated(20'000'000) + "[TRANS]\r\n[MUSIC]\r\n";
    const QByteArray list = QByteArray::number(text.size()) + "\r\n1\r\n";
    QByteArray trailer(4, '\0');
    qToLittleEndian<qint32>(qint32(list.size() + 4), trailer.data());
    const QString crafted = dir_.filePath("crafted.exe");
    QFile file(crafted);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ReadAll(LUMETTA_STUB_PATH) + text + "x" + list + trailer);
    file.close();
    text.clear();
    text.squeeze();
    ASSERT_TRUE(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));

    const Outcome play = RunProgram(crafted, {}, {{"TMPDIR", dir_.filePath("tmp")}});
    EXPECT_EQ(play.exitCode, 1);
    EXPECT_TRUE(
        play.errors.contains(QStringLiteral("holds no valid slide show: the picture list names 20000000 pictures "
                                            "but the file holds 1")
                                 .toUtf8()))
        << play.errors.constData();
    EXPECT_FALSE(play.errors.contains("List index out of bounds"));
    struct rusage children = {};
    getrusage(RUSAGE_CHILDREN, &children);
    // The largest child was this player: a few times its 60 MB project text, not 1.6 GB. Under
    // AddressSanitizer its shadow memory and quarantine add their own share.
    EXPECT_LT(children.ru_maxrss, (kUnderAddressSanitizer ? 1200L : 600L) * 1024);
}

}  // namespace
}  // namespace lumetta
