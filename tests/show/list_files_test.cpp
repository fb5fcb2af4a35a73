// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/list_files.h"

#include "show/project_file.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

using testfiles::ReadBytes;

TEST(ListFiles, MissingFilesReadAsAFirstRun)
{
    QTemporaryDir dir;
    const ListFiles files(dir.filePath("config/Lumetta"));
    EXPECT_EQ(files.ReadResume(), QStringList({"Pre", "No"}));
    EXPECT_EQ(files.ReadRecentFolders(), QStringList({"Empty"}));
    ASSERT_EQ(files.ReadStartDir().size(), 1);
    EXPECT_EQ(files.ReadStartDir().first(), QDir::homePath() + "/");
}

TEST(ListFiles, CreateMissingWritesFirstRunContentsAndKeepsExistingOnes)
{
    QTemporaryDir dir;
    const ListFiles files(dir.filePath("nested/Lumetta"));
    files.WriteResume({"Not", "/x/show.zut"});
    EXPECT_TRUE(files.CreateMissing());
    EXPECT_EQ(ReadBytes(files.PathOf(ListFiles::kResumeFile)), QByteArray("Not\r\n/x/show.zut\r\n"));
    EXPECT_EQ(ReadBytes(files.PathOf(ListFiles::kRecentFile)), QByteArray("Empty\r\n"));
    EXPECT_EQ(ReadBytes(files.PathOf(ListFiles::kStartDirFile)), (QDir::homePath() + "/\r\n").toUtf8());
}

TEST(ListFiles, WrittenListsReadBack)
{
    QTemporaryDir dir;
    const ListFiles files(dir.path());
    files.WriteStartDir({"/data/pictures/"});
    files.WriteRecentFolders({"/a/", "/b c/"});
    EXPECT_EQ(files.ReadStartDir(), QStringList({"/data/pictures/"}));
    EXPECT_EQ(files.ReadRecentFolders(), QStringList({"/a/", "/b c/"}));
    files.WriteRecentFolders({});
    EXPECT_EQ(files.ReadRecentFolders(), QStringList({"Empty"}));
}

TEST(ListFiles, AnUnwritableFolderReportsTheFile)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ListFiles files(dir.filePath("blocker/Lumetta"));
    try {
        files.WriteResume({"Pre", "No"});
        FAIL() << "no error";
    } catch (const ProjectError &error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + files.PathOf(ListFiles::kResumeFile) + ": the folder "
                                       + files.Folder() + " cannot be made");
    }
    EXPECT_FALSE(files.CreateMissing());
    EXPECT_EQ(files.ReadResume(), QStringList({"Pre", "No"}));
}

QStringList warnings;

void RecordWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        warnings << message;
}

TEST(ListFiles, OversizedFilesReadAsAFirstRunWithAWarning)
{
    QTemporaryDir dir;
    const ListFiles files(dir.path());
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile file(files.PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(ListFiles::kResumeFile, QByteArray(2 << 20, 'x'));
    write(ListFiles::kStartDirFile, QByteArray(64 * 1024, '/') + "\r\n");
    write(ListFiles::kRecentFile, QByteArray("/p/\r\n").repeated(20'000));

    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
    const QStringList resume = files.ReadResume();
    const QStringList start = files.ReadStartDir();
    const QStringList recent = files.ReadRecentFolders();
    qInstallMessageHandler(previous);

    EXPECT_EQ(resume, ListFiles::FirstRunResume());
    EXPECT_EQ(start, ListFiles::FirstRunStartDir());
    EXPECT_EQ(recent, ListFiles::FirstRunRecent());
    const QString open = "Cannot open file ";
    EXPECT_EQ(warnings,
              QStringList({open + files.PathOf(ListFiles::kResumeFile) + ": the file is larger than 1 MiB",
                           open + files.PathOf(ListFiles::kStartDirFile) + ": line 1 is longer than 32768 bytes",
                           open + files.PathOf(ListFiles::kRecentFile) + ": the file has more than 10000 lines"}));
}

TEST(ListFiles, DefaultFolderIsThePerUserConfigFolder)
{
    const QString folder = ListFiles::DefaultFolder();
    EXPECT_TRUE(folder.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME"))) << folder.toStdString();
}

}  // namespace
}  // namespace lumetta
