// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/unpack_folder.h"
#include "support/qstring_print.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

// The number of a process that has ended.
qint64 EndedProcess()
{
    QProcess process;
    process.start("true", {});
    EXPECT_TRUE(process.waitForFinished());
    return process.processId() ? process.processId() : 999999;
}

TEST(UnpackFolder, IsNamedAfterTheProcessAndGoesWithIt)
{
    QTemporaryDir temp;
    QString path;
    {
        UnpackFolder folder(temp.path());
        ASSERT_TRUE(folder.IsValid());
        path = folder.Path();
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(
            QStringLiteral("Lumetta-%1-").arg(QCoreApplication::applicationPid())));
        EXPECT_EQ(QFileInfo(path).absolutePath(), temp.path());
        QFile inside(path + "/picture.jpg");
        ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
        inside.close();
        EXPECT_TRUE(folder.Remove());
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    {
        UnpackFolder folder(temp.path());
        path = folder.Path();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(UnpackFolder, RemovesOnlyFoldersOfEndedPlayers)
{
    QTemporaryDir temp;
    const QDir dir(temp.path());
    const QString ended = QStringLiteral("Lumetta-%1-aB3xYz").arg(EndedProcess());
    const QString running = QStringLiteral("Lumetta-%1-Qw12er").arg(QCoreApplication::applicationPid());
    const QString otherName = QStringLiteral("Lumetta-notanumber-abcdef");
    const QString shortName = QStringLiteral("Lumetta-%1-ab").arg(EndedProcess());
    for (const QString &name : {ended, running, otherName, shortName})
        ASSERT_TRUE(dir.mkpath(name + "/pictures/0000"));
    QFile picture(dir.filePath(ended + "/pictures/0000/a.jpg"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    // A link of that name is not followed: what it points at stays.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), dir.filePath(QStringLiteral("Lumetta-%1-Lnk123").arg(EndedProcess()))));
    // A plain file of that name is no folder of ours.
    QFile file(dir.filePath(QStringLiteral("Lumetta-%1-File12").arg(EndedProcess())));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(UnpackFolder::RemoveStale(temp.path()), 1);
    EXPECT_FALSE(dir.exists(ended));
    EXPECT_TRUE(dir.exists(running));
    EXPECT_TRUE(dir.exists(otherName));
    EXPECT_TRUE(dir.exists(shortName));
    EXPECT_TRUE(QFileInfo(elsewhere.path()).isDir());
    EXPECT_EQ(UnpackFolder::RemoveStale(temp.path()), 0);
}

}  // namespace
}  // namespace lumetta
