// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/recent_folders.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(RecentFolders, LoadRules)
{
    struct Case
    {
        const char *what;
        QStringList lines;
        QStringList folders;
        QStringList menu;
        bool opens;
    };
    const QStringList seven{"/1/", "/2/", "/3/", "/4/", "/5/", "/6/", "/7/"};
    const QStringList lastFive{"/3/", "/4/", "/5/", "/6/", "/7/"};
    const Case cases[] = {
        {"seven folders", seven, lastFive, lastFive, true},
        {"five folders", lastFive, lastFive, lastFive, true},
        {"empty file", {}, {}, {"Empty"}, false},
        {"Empty", {"Empty", "/1/"}, {}, {"Empty"}, false},
        {"Clear", {"Clear", "/1/"}, {"Clear", "/1/"}, {"Empty"}, false},
        {"Clear trimmed away",
         {"Clear", "/1/", "/2/", "/3/", "/4/", "/5/"},
         {"/1/", "/2/", "/3/", "/4/", "/5/"},
         {"/1/", "/2/", "/3/", "/4/", "/5/"},
         true},
    };
    for (const Case &c : cases) {
        RecentFolders recent;
        recent.Load(c.lines);
        EXPECT_EQ(recent.Folders(), c.folders) << c.what;
        EXPECT_EQ(recent.MenuEntries(), c.menu) << c.what;
        EXPECT_EQ(recent.MenuOpensFolders(), c.opens) << c.what;
    }
}

TEST(RecentFolders, AddRecordsAFolderOnceAndLeavesTheMenu)
{
    RecentFolders recent;
    recent.Load({"Empty"});
    EXPECT_TRUE(recent.Add(QStringLiteral("/pics/")));
    EXPECT_FALSE(recent.Add(QStringLiteral("/pics/")));
    EXPECT_TRUE(recent.Add(QStringLiteral("/Pics/")));
    EXPECT_EQ(recent.Folders(), (QStringList{"/pics/", "/Pics/"}));
    EXPECT_EQ(recent.MenuEntries(), QStringList{"Empty"});
}

TEST(RecentFolders, MenuShowsPathsExactlyAndOpensThem)
{
    RecentFolders recent;
    recent.Load({"/a&b/", "/c/"});
    QMenu menu;
    menu.addAction(QStringLiteral("stale"));
    QStringList opened;
    recent.FillMenu(&menu, [&](const QString &folder) { opened.append(folder); });
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("/a&&b/"));
    menu.actions()[0]->trigger();
    EXPECT_EQ(opened, QStringList{"/a&b/"});

    recent.Load({"Empty"});
    recent.FillMenu(&menu, [&](const QString &folder) { opened.append(folder); });
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("Empty"));
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

TEST(RecentFolders, StartFolder)
{
    const QString home = QDir::homePath() + QLatin1Char('/');
    EXPECT_EQ(StartFolder({}), home);
    EXPECT_EQ(StartFolder({"c:\\"}), home);
    EXPECT_EQ(StartFolder({"/srv/pictures/"}), QStringLiteral("/srv/pictures/"));
}

}  // namespace
}  // namespace lumetta
