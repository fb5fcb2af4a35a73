// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recent_projects.h"

#include "show/project_file.h"
#include "support/file_bytes.h"
#include "support/qstring_print.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(RecentProjects, NewestFirstWithoutRepeatsAtMostTen)
{
    QTemporaryDir dir;
    RecentProjects recent(dir.filePath("config"));
    recent.Load();
    EXPECT_TRUE(recent.Paths().isEmpty());
    for (int i = 0; i < 12; ++i)
        recent.Add(QStringLiteral("/shows/%1.zut").arg(i));
    recent.Add("/shows/5.zut");
    ASSERT_EQ(recent.Paths().size(), RecentProjects::kMaxCount);
    EXPECT_EQ(recent.Paths().first(), QLatin1String("/shows/5.zut"));
    EXPECT_EQ(recent.Paths()[1], QLatin1String("/shows/11.zut"));
    EXPECT_EQ(recent.Paths().last(), QLatin1String("/shows/2.zut"));
    EXPECT_EQ(recent.Paths().count("/shows/5.zut"), 1);

    // Its own file beside the list files, lines ended by CR LF.
    EXPECT_EQ(recent.FilePath(), dir.filePath("config/projects.lst"));
    EXPECT_TRUE(testfiles::ReadBytes(recent.FilePath()).startsWith("/shows/5.zut\r\n/shows/11.zut\r\n"));
    RecentProjects again(dir.filePath("config"));
    again.Load();
    EXPECT_EQ(again.Paths(), recent.Paths());
}

TEST(RecentProjects, AnUnwritableFolderIsReportedWithTheFile)
{
    QTemporaryDir dir;
    testfiles::WriteBytes(dir.filePath("blocker"), "x");
    RecentProjects recent(dir.filePath("blocker/config"));
    try {
        recent.Add("/shows/a.zut");
        FAIL() << "no error";
    } catch (const ProjectError &error) {
        EXPECT_TRUE(error.Message().startsWith("Cannot create file " + recent.FilePath() + ": "))
            << error.Message().toStdString();
    }
}

TEST(RecentProjects, AnOversizedFileReadsAsNone)
{
    QTemporaryDir dir;
    RecentProjects recent(dir.path());
    testfiles::WriteBytes(recent.FilePath(), QByteArray(2 << 20, 'x'));
    recent.Load();
    EXPECT_TRUE(recent.Paths().isEmpty());
}

}  // namespace
}  // namespace lumetta
