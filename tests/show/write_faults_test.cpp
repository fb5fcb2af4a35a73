// SPDX-License-Identifier: GPL-3.0-or-later
// Writes that fail part-way: a folder the writer may not change and a disk that fills up. Each
// write runs in a child process, so the limits set for it never reach the test program.

#include "show/list_files.h"
#include "show/project_file.h"
#include "show/show_project.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetta {
namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

// Reports errors by printing them and remembers nothing else; the child has no test to fail.
class PrintingDialogs : public ProjectDialogs
{
public:
    QStringList errors;
    std::optional<QString> AskOpenPath() override { return std::nullopt; }
    std::optional<QString> AskSaveName() override { return std::nullopt; }
    bool AskReplace(const QString &) override { return false; }
    Answer AskSaveProject() override { return Answer::Cancel; }
    void ShowError(const QString &message) override { errors << message; }
};

enum class Fault {
    FullDisk,  // no file may grow beyond a few kilobytes, as when the disk fills
    ReadOnlyFolder,  // the folder has no write permission for the writer
};

// Child exit codes.
constexpr int kReported = 0;
constexpr int kNoError = 1;
constexpr int kWrongMessage = 2;
constexpr int kSetupFailed = 3;

// Arms the fault in the child process. Root ignores permission bits, so a root child drops
// to the unprivileged "nobody" before it writes into a folder that root owns.
bool ArmFault(Fault fault)
{
    if (fault == Fault::FullDisk) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    if (geteuid() != 0)
        return true;
    constexpr uid_t kNobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

// The reason a write of PATH fails for under `fault`.
QString ReasonOf(Fault fault, const QString &path)
{
    return fault == Fault::FullDisk ? QStringLiteral("File too large")
                                    : QStringLiteral("Existing file %1 is not writable").arg(path);
}

// Runs `write` (which returns the error it reported, empty for none) of PATH under `fault` in a
// child process and expects exactly "Cannot create file PATH" followed by the reason.
void ExpectReportedInChild(Fault fault, const std::function<QString()> &write, const QString &path)
{
    EXPECT_EXIT(
        {
            if (!ArmFault(fault))
                std::_Exit(kSetupFailed);
            const QString error = write();
            std::fprintf(stderr, "reported: %s\n", qUtf8Printable(error));
            const QString expected = "Cannot create file " + path + ": " + ReasonOf(fault, path);
            std::_Exit(error.isEmpty() ? kNoError : error == expected ? kReported : kWrongMessage);
        },
        ::testing::ExitedWithCode(kReported), "");
}

class WriteFaultsTest : public ::testing::TestWithParam<Fault>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        // The unprivileged writer must reach the folder; only the folder itself is closed.
        ASSERT_EQ(chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
        folder_ = dir_.filePath("show");
        ASSERT_TRUE(QDir().mkpath(folder_));
    }

    void TearDown() override { chmod(QFile::encodeName(folder_).constData(), 0755); }

    // Puts the old file in place, then closes the folder when that is the fault.
    void Prepare(const QString &path, const QByteArray &old)
    {
        WriteBytes(path, old);
        if (GetParam() == Fault::ReadOnlyFolder) {
            ASSERT_EQ(chmod(QFile::encodeName(folder_).constData(), 0555), 0);
        }
    }

    // The old file byte for byte, and no temporary file left beside it.
    void ExpectUntouched(const QString &path, const QByteArray &old)
    {
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});
    }

    QTemporaryDir dir_;
    QString folder_;
};

// Many long paths: far more than the few kilobytes a full disk lets through.
QStringList ManyPictures()
{
    QStringList pictures;
    for (int i = 0; i < 400; ++i)
        pictures << QStringLiteral("/home/user/Pictures/a rather long folder name/holiday %1.jpg").arg(i);
    return pictures;
}

TEST_P(WriteFaultsTest, TextFileReportsAndKeepsTheOldFile)
{
    const QString path = folder_ + "/show.zut";
    const QByteArray old = "old\r\nproject\r\n";
    Prepare(path, old);
    ExpectReportedInChild(
        GetParam(),
        [&] {
            try {
                WriteTextFile(path, ManyPictures());
            } catch (const ProjectError &error) {
                return error.Message();
            }
            return QString();
        },
        path);
    ExpectUntouched(path, old);
}

TEST_P(WriteFaultsTest, SaveReportsKeepsTheOldFileAndStaysModified)
{
    const QString path = folder_ + "/show.zut";
    WriteTextFile(dir_.filePath("source.zut"), BuildProjectText(ShowSettings(), {"/p/a.jpg"}, {"1"}, {}));
    const QByteArray old = ReadBytes(dir_.filePath("source.zut"));
    Prepare(path, old);
    ExpectReportedInChild(
        GetParam(),
        [&] {
            PrintingDialogs dialogs;
            ShowProject project;
            if (project.OpenPath(path, dialogs) != ShowProject::Outcome::Done)
                return QStringLiteral("open failed");
            project.Pictures() = ManyPictures();
            project.SetModified();
            if (project.Save(dialogs) != ShowProject::Outcome::Failed || !project.Modified())
                return QStringLiteral("save did not fail or cleared the modified flag");
            return dialogs.errors.join(u'|');
        },
        path);
    ExpectUntouched(path, old);
}

TEST_P(WriteFaultsTest, ListFileReportsAndKeepsTheOldFile)
{
    const ListFiles files(folder_);
    const QString path = files.PathOf(ListFiles::kRecentFile);
    const QByteArray old = "/home/user/Pictures/\r\n";
    Prepare(path, old);
    ExpectReportedInChild(
        GetParam(),
        [&] {
            try {
                files.WriteRecentFolders(ManyPictures());
            } catch (const ProjectError &error) {
                return error.Message();
            }
            return QString();
        },
        path);
    ExpectUntouched(path, old);
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFaultsTest, ::testing::Values(Fault::FullDisk, Fault::ReadOnlyFolder),
                         [](const auto &info) {
                             return std::string(info.param == Fault::FullDisk ? "FullDisk" : "ReadOnlyFolder");
                         });

}  // namespace
}  // namespace lumetta
