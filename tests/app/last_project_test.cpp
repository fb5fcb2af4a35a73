// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/last_project.h"

#include "show/project_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(LastProjectTest, TheNewestRecentProjectThatIsStillThereElseTheOneToReopen)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath("kept.zut");
    const QString reopen = dir.filePath("reopen.zut");
    for (const QString &path : {kept, reopen}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString gone = dir.filePath("gone.zut");
    const struct
    {
        const char *name;
        QStringList recent;  // absent when empty
        QStringList resume;  // absent when empty
        QString expected;
    } cases[] = {
        {"nothing remembered", {}, {}, ""},
        {"newest recent", {kept, reopen}, {"Pre", reopen}, kept},
        {"deleted one passed over", {gone, kept}, {}, kept},
        {"a folder is no project", {dir.path(), kept}, {}, kept},
        {"none left: the one to reopen", {gone}, {"Not", reopen}, reopen},
        {"reopen names none", {gone}, {"Pre", "No"}, ""},
        {"reopen names a deleted one", {}, {"Pre", gone}, ""},
    };
    for (const auto &c : cases) {
        QTemporaryDir config;
        if (!c.recent.isEmpty())
            WriteTextFile(QDir(config.path()).filePath("projects.lst"), c.recent);
        if (!c.resume.isEmpty())
            WriteTextFile(QDir(config.path()).filePath("SOPT.lst"), c.resume);
        EXPECT_EQ(LastProject(config.path()), c.expected) << c.name;
        // Reading writes nothing.
        EXPECT_EQ(QDir(config.path()).count() - 2, uint(!c.recent.isEmpty() + !c.resume.isEmpty())) << c.name;
    }
}

}  // namespace
}  // namespace lumetta
