// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/play_preferences.h"

#include "show/list_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace lumetta;

namespace {

TEST(PlayPreferences, TheScreenIsKeptInAFileOfItsOwnBesideTheListFiles)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("config");
    ListFiles lists(folder);
    ASSERT_TRUE(lists.CreateMissing());
    const QByteArray resume = [&] {
        QFile file(lists.PathOf(ListFiles::kResumeFile));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    PlayPreferences preferences(folder);
    EXPECT_EQ(preferences.ScreenName(), QString());
    ASSERT_TRUE(preferences.SetScreenName(QStringLiteral("HDMI-1"))) << preferences.ErrorText().toStdString();
    EXPECT_EQ(PlayPreferences(folder).ScreenName(), QStringLiteral("HDMI-1"));
    EXPECT_EQ(QFileInfo(preferences.Path()).dir().absolutePath(), QDir(folder).absolutePath());

    // "The screen the main window is on" leaves no key behind.
    ASSERT_TRUE(preferences.SetScreenName(QString()));
    EXPECT_EQ(PlayPreferences(folder).ScreenName(), QString());

    QFile file(lists.PathOf(ListFiles::kResumeFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), resume);
}

TEST(PlayPreferences, AMissingFolderIsMadeAndAnUnwritableOneIsNamed)
{
    QTemporaryDir dir;
    PlayPreferences deep(dir.filePath("a/b/c"));
    EXPECT_TRUE(deep.SetScreenName(QStringLiteral("DP-2")));
    EXPECT_EQ(deep.ScreenName(), QStringLiteral("DP-2"));

    // A plain file where the folder should be.
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PlayPreferences blocked(dir.filePath("file/config"));
    EXPECT_FALSE(blocked.SetScreenName(QStringLiteral("DP-2")));
    EXPECT_TRUE(blocked.ErrorText().contains(dir.filePath("file/config"))) << blocked.ErrorText().toStdString();
    EXPECT_EQ(blocked.ScreenName(), QString());
}

}  // namespace
