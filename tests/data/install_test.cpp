// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
};

ProgramRun Execute(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // What is checked here needs no display.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// One installation into a scratch prefix for all cases.
class InstallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = new QTemporaryDir;
        const ProgramRun install =
            Execute(QStringLiteral(LUMETTA_CMAKE), {"--install", LUMETTA_BUILD_DIR, "--prefix", prefix->path()});
        installed = install.exitCode == 0;
        log = install.out;
    }
    static void TearDownTestSuite()
    {
        delete prefix;
        prefix = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(installed) << log.toStdString(); }

    static QString In(const QString &relative) { return prefix->filePath(relative); }

    static QTemporaryDir *prefix;
    static bool installed;
    static QString log;
};

QTemporaryDir *InstallTest::prefix = nullptr;
bool InstallTest::installed = false;
QString InstallTest::log;

TEST_F(InstallTest, InstallsTheProgramsAndTheirFiles)
{
    const char *files[] = {
        "bin/lumetta",
        "bin/lumetta-fx",
        "libexec/lumetta/AEXE.tms",
        "share/lumetta/Lumetta.html",
        "share/lumetta/demo/demo.zut",
        "share/applications/io.sourceforge.lumetta.desktop",
        "share/metainfo/io.sourceforge.lumetta.metainfo.xml",
        "share/mime/packages/lumetta.xml",
        "share/icons/hicolor/scalable/apps/lumetta.svg",
        "share/icons/hicolor/scalable/mimetypes/application-x-lumetta-show.svg",
        "share/man/man1/lumetta.1.gz",
        "share/man/man1/lumetta-fx.1.gz",
        "share/doc/lumetta/copyright",
    };
    for (const char *file : files)
        EXPECT_TRUE(QFileInfo(In(file)).isFile()) << file;
    for (const char *program : {"bin/lumetta", "bin/lumetta-fx", "libexec/lumetta/AEXE.tms"})
        EXPECT_TRUE(QFileInfo(In(program)).isExecutable()) << program;
    // Only the programs: no tests, benchmarks or fuzz targets.
    EXPECT_EQ(QDir(In("bin")).entryList(QDir::Files), QStringList({"lumetta", "lumetta-fx"}));
}

TEST_F(InstallTest, IconsComeInEveryThemeSize)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        for (const char *icon : {"apps/lumetta.png", "mimetypes/application-x-lumetta-show.png"}) {
            const QString path = In(QStringLiteral("share/icons/hicolor/%1x%1/").arg(size) + QLatin1String(icon));
            EXPECT_EQ(QImage(path).size(), QSize(size, size)) << path.toStdString();
        }
}

TEST_F(InstallTest, InstalledProgramAnswersHelpAndFindsItsPlayer)
{
    const ProgramRun help = Execute(In("bin/lumetta"), {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.out.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: lumetta")) << help.out.toStdString();

    // Building a show needs the standalone player from the private program folder.
    QTemporaryDir out;
    const QString show = out.filePath("demo");
    const ProgramRun build = Execute(In("bin/lumetta"), {"--build", In("share/lumetta/demo/demo.zut"), show});
    ASSERT_EQ(build.exitCode, 0) << build.out.toStdString();
    EXPECT_TRUE(QFileInfo(show).isExecutable());
    QFile player(In("libexec/lumetta/AEXE.tms"));
    QFile built(show);
    ASSERT_TRUE(player.open(QIODevice::ReadOnly) && built.open(QIODevice::ReadOnly));
    EXPECT_TRUE(built.read(player.size()) == player.readAll());
}

TEST_F(InstallTest, DemoShowNamesItsInstalledPictures)
{
    const QStringList lines = ReadTextFile(In("share/lumetta/demo/demo.zut"));
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(lines[2], "Random");
    EXPECT_EQ(lines[6], "Color");
    const qsizetype transitions = lines.indexOf("[TRANS]");
    ASSERT_GT(transitions, 10);
    EXPECT_EQ(transitions - 10, 6);
    for (qsizetype i = 10; i < transitions; ++i) {
        EXPECT_TRUE(lines[i].startsWith(In("share/lumetta/demo/"))) << lines[i].toStdString();
        EXPECT_FALSE(QImage(lines[i]).isNull()) << lines[i].toStdString();
    }
    QStringList effects;
    for (int effect = 0; effect <= 20; ++effect)
        effects << QString::number(effect);
    EXPECT_EQ(lines.mid(transitions + 1, 21), effects);
    EXPECT_EQ(lines.mid(transitions + 22), QStringList({"[MUSIC]"}));
}

TEST_F(InstallTest, InstalledDesktopFilesValidate)
{
    EXPECT_EQ(Execute("desktop-file-validate", {In("share/applications/io.sourceforge.lumetta.desktop")}).exitCode, 0);
    EXPECT_EQ(
        Execute("appstreamcli", {"validate", "--no-net", In("share/metainfo/io.sourceforge.lumetta.metainfo.xml")})
            .exitCode,
        0);
}

}  // namespace
}  // namespace lumetta
