#include "show/project_file.h"
#include "support/qstring_print.h"
#include "show/show_settings.h"
#include "support/photo_files.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

struct Outcome {
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
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("tmp");
    }

    // A project of one JPEG that shows for a second without an effect and does not loop, with
    // the given playlist played once.
    QString ShortProject(const QString &picture, const QStringList &playlist = {})
    {
        QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
        lines[ShowSettings::kAdvance] = "1";
        lines[ShowSettings::kEffects] = "No effect";
        lines[ShowSettings::kLooping] = "No";
        if (!playlist.isEmpty())
            lines[ShowSettings::kMusic] = "NoRepeat";
        lines << picture << "[TRANS]" << "0" << "[MUSIC]" << playlist;
        const QString path = dir.filePath("short.zut");
        WriteTextFile(path, lines);
        return path;
    }

    QString Picture()
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = dir.filePath("green.jpg");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(testpictures::makeJpeg(image));
        return path;
    }

    // Builds with `lumetta --build`, on no display at all.
    Outcome Build(const QString &project, const QString &output)
    {
        return RunProgram(LUMETTA_PROGRAM_PATH, {"--build", project, output}, {}, {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    }

    QTemporaryDir dir;
};

TEST_F(StubTest, ScreenSaverSettingsAndPreviewEndQuietly)
{
    for (const QStringList &arguments : {QStringList{"/c"}, QStringList{"/C:1234"}, QStringList{"/p", "4711"}}) {
        const Outcome run = RunProgram(LUMETTA_STUB_PATH, arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.errors, QByteArray());
    }
    EXPECT_EQ(RunProgram(LUMETTA_STUB_PATH, {"--frobnicate"}).exitCode, 2);
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
    const struct {
        QStringList arguments;
        const char *error;
    } wrong[] = {
        {{"--frobnicate"}, "Unknown option 'frobnicate'"},
        {{"-x"}, "Unknown option 'x'"},
        {{"show"}, "unknown argument show (use /s, /c or /p)"},
        {{"/s", "/s"}, "unknown argument /s /s"},
    };
    for (const auto &c : wrong) {
        const Outcome run = RunProgram(LUMETTA_STUB_PATH, c.arguments, {}, noDisplay);
        EXPECT_EQ(run.exitCode, 2) << c.error;
        EXPECT_TRUE(run.errors.contains(c.error)) << run.errors.constData();
        EXPECT_TRUE(run.errors.contains("Usage: AEXE.tms")) << run.errors.constData();
    }
}

TEST_F(StubTest, StubWithoutAShowSaysSo)
{
    const Outcome run = RunProgram(LUMETTA_STUB_PATH, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("holds no valid slide show")) << run.errors.constData();
}

TEST_F(StubTest, BuiltShowPlaysToItsEndAndCleansUp)
{
    const QString output = dir.filePath("short.scr");
    const Outcome build = Build(ShortProject(Picture(), {testsounds::writeWav("tone.wav", 300)}), output);
    ASSERT_EQ(build.exitCode, 0) << build.errors.constData();
    EXPECT_TRUE(ReadAll(output).startsWith(ReadAll(LUMETTA_STUB_PATH)));
    EXPECT_TRUE(QFileInfo(output).isExecutable());

    const QString tmp = dir.filePath("tmp");
    const Outcome play = RunProgram(output, {"/s"}, {{"TMPDIR", tmp}});
    EXPECT_EQ(play.exitCode, 0) << play.errors.constData();
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

TEST_F(StubTest, EndingALoopingShowBySignalRemovesItsFiles)
{
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    lines << Picture() << "[TRANS]" << "0" << "[MUSIC]";
    WriteTextFile(dir.filePath("loop.zut"), lines);
    const QString output = dir.filePath("loop.exe");
    ASSERT_EQ(Build(dir.filePath("loop.zut"), output).exitCode, 0);

    const QString tmp = dir.filePath("tmp");
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
    const QImage upright = testpictures::quadrantPicture(160, 120);
    const std::pair<QString, QByteArray> photos[] = {
        {"flat.png", testpictures::makeQtPicture(upright, "png")},
        {"phone.HEIC", testpictures::makeHeif(testpictures::storedForOrientation(upright, 6), false, 6)},
        {"camera.jpg", testpictures::withJpegApp1(testpictures::makeJpeg(testpictures::storedForOrientation(upright, 6)),
                                                  testpictures::makeExifBlock(6))},
        {"mirror.jpg", testpictures::withJpegApp1(testpictures::makeJpeg(testpictures::storedForOrientation(upright, 7)),
                                                  testpictures::makeExifBlock(7, true))},
    };
    for (const auto &[name, data] : photos) {
        // One picture, shown until a key, at half the screen, centred on a black screen.
        QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
        lines[ShowSettings::kAdvance] = "Manual";
        lines[ShowSettings::kPictureSize] = "50";
        lines[ShowSettings::kEffects] = "No effect";
        lines[ShowSettings::kBackground] = "clBlack_clBlack";
        lines[ShowSettings::kCaption] = "No";
        lines << testpictures::writeTemp(name, data) << "[TRANS]" << "0" << "[MUSIC]";
        WriteTextFile(dir.filePath("photo.zut"), lines);
        const QString output = dir.filePath("photo-" + name + ".exe");
        ASSERT_EQ(Build(dir.filePath("photo.zut"), output).exitCode, 0) << name.toStdString();

        QProcess show;
        show.start(output, {});
        QScreen *screen = QGuiApplication::primaryScreen();
        const QPoint centre = screen->geometry().center();
        const int d = screen->geometry().height() / 8;
        const auto colourAt = [&](const QImage &shot, int dx, int dy) { return shot.pixel(centre.x() + dx, centre.y() + dy); };
        const auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) < 60 && std::abs(qGreen(a) - qGreen(b)) < 60 && std::abs(qBlue(a) - qBlue(b)) < 60;
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
        EXPECT_TRUE(near(colourAt(shot, d, d), qRgb(255, 255, 255))) << name.toStdString() << ": white at the bottom right";
        // The slide is landscape: the screen left of it stays black.
        EXPECT_TRUE(near(colourAt(shot, -screen->geometry().width() * 3 / 8 - 20, 0), qRgb(0, 0, 0))) << name.toStdString();
        show.terminate();
        EXPECT_TRUE(show.waitForFinished(30000));
    }
}

TEST_F(StubTest, DamagedShowIsRefused)
{
    const QString output = dir.filePath("short.exe");
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

    const QString output = dir.filePath("out.exe");
    run = Build(dir.filePath("missing.zut"), output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("Cannot open file")) << run.errors.constData();

    run = Build(ShortProject(dir.filePath("gone.jpg")), output);
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
    ASSERT_EQ(Build(project, dir.filePath("fresh.exe")).exitCode, 0);
    EXPECT_EQ(ReadAll(output), ReadAll(dir.filePath("fresh.exe")));
}

}  // namespace
}  // namespace lumetta
