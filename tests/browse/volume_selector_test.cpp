// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/volume_selector.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

QList<VolumeInfo> Volumes(const QStringList &roots)
{
    QList<VolumeInfo> volumes;
    for (const QString &root : roots)
        volumes.append(VolumeInfo{root, QStringLiteral("Disk ") + root, QStringLiteral("Fixed"), true, 0, 0});
    return volumes;
}

TEST(VolumeSelector, ListsTheMountedVolumesRootFirst)
{
    VolumeSelector box;
    ASSERT_GE(box.count(), 1);
    EXPECT_EQ(box.Roots().first(), QStringLiteral("/"));
    EXPECT_EQ(box.Drive(), QStringLiteral("/"));
    EXPECT_FALSE(box.itemIcon(0).isNull());
}

TEST(VolumeSelector, SettingTheDrive)
{
    VolumeSelector box;
    box.Fill(Volumes({"/a/", "/c/", "/d/"}));
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), QStringLiteral("Disk /d/"));
    box.SetDrive(QStringLiteral("/d/"));
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.Drive(), QStringLiteral("/d/"));
    box.SetDrive(QStringLiteral("/x/"));
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.Drive(), QStringLiteral("/d/"));
}

TEST(VolumeSelector, PickingRaisesChanged)
{
    VolumeSelector box;
    box.Fill(Volumes({"/a/", "/c/", "/d/"}));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &VolumeSelector::Changed);
    QString seen;
    QObject::connect(&box, &VolumeSelector::Changed, &box, [&] { seen = box.Drive(); });
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(seen, QStringLiteral("/c/"));
}

TEST(VolumeSelector, RefillingKeepsThePickedPosition)
{
    VolumeSelector box;
    box.Fill(Volumes({"/a/", "/c/", "/d/"}));
    box.SetDrive(QStringLiteral("/c/"));
    box.Fill(Volumes({"/a/", "/b/", "/c/", "/d/"}));
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_EQ(box.Drive(), QStringLiteral("/b/"));
    box.SetDrive(QStringLiteral("/d/"));
    box.Fill(Volumes({"/a/", "/b/"}));
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(box.Drive(), QStringLiteral("/a/"));
}

}  // namespace
}  // namespace lumetta
