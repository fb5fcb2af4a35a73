// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
};

ProgramRun Tool(const QString &name, const QStringList &arguments,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    const QString program = QStandardPaths::findExecutable(name);
    EXPECT_FALSE(program.isEmpty()) << name.toStdString() << " is missing: scripts/setup.sh installs it";
    if (program.isEmpty())
        return {};
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << name.toStdString();
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll()).trimmed()};
}

QString Source(const char *name)
{
    return QStringLiteral(LUMETTA_DATA_SOURCE "/") + QLatin1String(name);
}

QStringList DesktopEntryLines()
{
    QFile file(Source("io.sourceforge.lumetta.desktop"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split(u'\n');
}

TEST(DesktopFilesTest, DesktopEntryValidatesAndOffersPlay)
{
    const ProgramRun run = Tool("desktop-file-validate", {Source("io.sourceforge.lumetta.desktop")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.out, "") << run.out.toStdString();

    const QStringList lines = DesktopEntryLines();
    for (const char *line :
         {"[Desktop Entry]", "Exec=lumetta %f", "Icon=lumetta", "StartupNotify=true",
          "MimeType=application/x-lumetta-show;", "Actions=Play;", "[Desktop Action Play]", "Exec=lumetta --play"})
        EXPECT_TRUE(lines.contains(QLatin1String(line))) << line;
    EXPECT_LT(lines.indexOf("Actions=Play;"), lines.indexOf("[Desktop Action Play]"));
    // Docks and menus start the action with no file: the program then plays the last project.
    EXPECT_GT(lines.indexOf("Exec=lumetta --play"), lines.indexOf("[Desktop Action Play]"));
}

TEST(DesktopFilesTest, AppStreamDataValidatesAndNamesTheDesktopEntry)
{
    const ProgramRun run =
        Tool("appstreamcli", {"validate", "--no-net", "--pedantic", Source("io.sourceforge.lumetta.metainfo.xml")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    QFile file(Source("io.sourceforge.lumetta.metainfo.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<launchable type=\"desktop-id\">io.sourceforge.lumetta.desktop</launchable>"));
    EXPECT_TRUE(text.contains("<mediatype>application/x-lumetta-show</mediatype>"));
}

// The file type as the desktop sees it, with our MIME file in a private data folder.
class FileTypeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid() && files_.isValid());
        QDir().mkpath(home_.filePath("mime/packages"));
        ASSERT_TRUE(QFile::copy(Source("lumetta-mime.xml"), home_.filePath("mime/packages/lumetta.xml")));
        environment_.insert("XDG_DATA_HOME", home_.path());
        environment_.insert("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
        const ProgramRun update = Tool("update-mime-database", {home_.filePath("mime")}, environment_);
        ASSERT_EQ(update.exitCode, 0) << update.out.toStdString();
    }

    QString Write(const QString &name, const QByteArray &content)
    {
        QFile file(files_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    QString TypeOf(const QString &path) { return Tool("xdg-mime", {"query", "filetype", path}, environment_).out; }

    QTemporaryDir home_;
    QTemporaryDir files_;
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

TEST_F(FileTypeTest, ProjectsAreKnownByNameAndBySettings)
{
    const QByteArray project = "2\r\n80\r\nRandom\r\nNo music\r\n$00D5E7EA_clWhite\r\nLoop\r\nColor\r\nTile\r\nNo\r\n"
                               "Shadow\r\n/pictures/a.jpg\r\n[TRANS]\r\n0\r\n[MUSIC]\r\n";
    const struct
    {
        const char *name;
        QByteArray content;
        const char *type;
    } cases[] = {
        {"show.zut", project, "application/x-lumetta-show"},
        {"empty.zut", "", "application/x-lumetta-show"},
        // Without the extension the settings lines tell, whatever their values' lengths.
        {"start-settings", project, "application/x-lumetta-show"},
        {"manual", "Manual\r\n100\r\nNo effect\r\nRepeatMusic\r\n", "application/x-lumetta-show"},
        {"short", "1\r\n1\r\nRandom\r\nNoRepeat\r\n", "application/x-lumetta-show"},
        // Lines ended by LF alone, as an editor or a copy may leave them.
        {"unix-lines", QByteArray(project).replace("\r\n", "\n"), "application/x-lumetta-show"},
        {"manual-unix", "Manual\n100\nNo effect\nRepeatMusic\n", "application/x-lumetta-show"},
        {"short-unix", "1\n1\nRandom\nNoRepeat\n", "application/x-lumetta-show"},
        {"notes-unix", "a list\nRandom\nmilk\n", "text/plain"},
        {"notes.txt", "Random\r\nNo music\r\n", "text/plain"},
        {"notes", "a shopping list\nRandom\r\nmilk\r\n", "text/plain"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TypeOf(Write(c.name, c.content)), QLatin1String(c.type)) << c.name;
}

}  // namespace
