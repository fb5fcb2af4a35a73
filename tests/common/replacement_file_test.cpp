// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/replacement_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

namespace lumetta {
namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Files(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(ReplacementFile, IsAHiddenFileBesideTheTargetRemovedUnlessCommitted)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("show"));
    {
        ReplacementFile file(target);
        ASSERT_TRUE(file.Create()) << file.ErrorString().toStdString();
        EXPECT_EQ(QFileInfo(file.Path()).absolutePath(), QFileInfo(target).absolutePath());
        EXPECT_TRUE(QFileInfo(file.Path()).fileName().startsWith(QLatin1String(".show.part-")));
        EXPECT_EQ(Files(dir), QStringList{QFileInfo(file.Path()).fileName()});
    }
    EXPECT_TRUE(Files(dir).isEmpty());
}

TEST(ReplacementFile, CommitPutsTheFileInTheTargetsPlaceAsAsked)
{
    const struct
    {
        const char *what;
        bool targetExists;
        ReplacementFile::Existing existing;
        bool committed;
    } cases[] = {
        {"new target, replace", false, ReplacementFile::Existing::Replace, true},
        {"new target, refuse", false, ReplacementFile::Existing::Refuse, true},
        {"old target, replace", true, ReplacementFile::Existing::Replace, true},
        {"old target, refuse", true, ReplacementFile::Existing::Refuse, false},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("video.mp4"));
        if (c.targetExists)
            Write(target, "old");
        {
            ReplacementFile file(target);
            ASSERT_TRUE(file.Create()) << c.what;
            Write(file.Path(), "new");
            EXPECT_EQ(file.Commit(c.existing), c.committed) << c.what;
            EXPECT_EQ(file.ErrorString().isEmpty(), c.committed) << c.what;
        }
        EXPECT_EQ(Read(target), c.committed ? QByteArray("new") : QByteArray("old")) << c.what;
        EXPECT_EQ(Files(dir), QStringList{QStringLiteral("video.mp4")}) << c.what;
    }
}

TEST(ReplacementFile, CreateInAMissingFolderSaysWhy)
{
    QTemporaryDir dir;
    ReplacementFile file(dir.filePath(QStringLiteral("missing/show")));
    EXPECT_FALSE(file.Create());
    EXPECT_FALSE(file.ErrorString().isEmpty());
    EXPECT_TRUE(file.Path().isEmpty());
}

TEST(ReplacementFile, TargetProblemRefusesFoldersSpecialAndReadOnlyFiles)
{
    QTemporaryDir dir;
    const QString regular = dir.filePath(QStringLiteral("regular"));
    Write(regular, "old");
    const QString readOnly = dir.filePath(QStringLiteral("read-only"));
    Write(readOnly, "old");
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const auto link = [&](const QString &name, const QString &to) {
        EXPECT_TRUE(QFile::link(to, dir.filePath(name)));
        return dir.filePath(name);
    };
    const struct
    {
        QString target;
        std::optional<QString> problem;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing")), std::nullopt},
        {regular, std::nullopt},
        {link(QStringLiteral("to-regular"), regular), std::nullopt},
        {link(QStringLiteral("dangling"), dir.filePath(QStringLiteral("none"))), std::nullopt},
        {dir.path(), QStringLiteral("it is a folder")},
        {pipe, QStringLiteral("it is not a regular file")},
        {link(QStringLiteral("to-pipe"), pipe), QStringLiteral("it is not a regular file")},
        {link(QStringLiteral("to-null"), QStringLiteral("/dev/null")), QStringLiteral("it is not a regular file")},
        {readOnly, QStringLiteral("it is read-only")},
        {link(QStringLiteral("to-read-only"), readOnly), QStringLiteral("it is read-only")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ReplacementFile::TargetProblem(c.target), c.problem) << c.target.toStdString();
        ReplacementFile file(c.target);
        EXPECT_EQ(file.Create(), !c.problem) << c.target.toStdString();
        if (c.problem)
            EXPECT_EQ(file.ErrorString(), *c.problem);
    }
}

TEST(ReplacementFile, ACommitNeverReplacesWhatBecameASpecialFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("show"));
    ReplacementFile file(target);
    ASSERT_TRUE(file.Create());
    ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
    EXPECT_FALSE(file.Commit(ReplacementFile::Existing::Replace));
    EXPECT_EQ(file.ErrorString(), QStringLiteral("it is not a regular file"));
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(ReplacementFile, CreateRemovesTheLeftoversOfDeadWritersOnly)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("video.mp4"));
    const QStringList dead = {QStringLiteral(".video.mp4.part-0badc0de"), QStringLiteral(".video.mp4.part-00000000")};
    const QStringList others = {QStringLiteral(".video.mp4.part-0BADC0DE"), QStringLiteral(".video.mp4.part-0badc0d"),
                                QStringLiteral(".video.mp4.part-0badc0de0"), QStringLiteral(".video.mp.part-0badc0de"),
                                QStringLiteral("video.mp4.part-0badc0de")};
    for (const QString &name : dead + others)
        Write(dir.filePath(name), "partial");
    // A writer at work holds its file locked.
    ReplacementFile running(target);
    ASSERT_TRUE(running.Create());
    const QString runningName = QFileInfo(running.Path()).fileName();

    ReplacementFile next(target);
    ASSERT_TRUE(next.Create());
    QStringList expected = others;
    expected << runningName << QFileInfo(next.Path()).fileName();
    expected.sort();
    EXPECT_EQ(Files(dir), expected);
}

}  // namespace
}  // namespace lumetta
