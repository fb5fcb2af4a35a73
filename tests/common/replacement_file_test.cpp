// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/replacement_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumetta
