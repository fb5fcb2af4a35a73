// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/installed_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

class InstalledFilesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString Make(const QString &relative)
    {
        const QString path = root.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    QTemporaryDir root;
};

TEST_F(InstalledFilesTest, InstalledLayoutIsFoundFromTheProgramsFolder)
{
    const QString stub = Make("libexec/lumetta/AEXE.tms");
    const QString guide = Make("share/lumetta/Lumetta.html");
    const QString demo = Make("share/lumetta/demo/demo.zut");
    const InstalledFiles files(root.filePath("bin"));
    EXPECT_EQ(files.StandalonePlayer().toStdString(), stub.toStdString());
    EXPECT_EQ(files.HelpGuide().toStdString(), guide.toStdString());
    EXPECT_EQ(files.HelpFolder().toStdString(), root.filePath("share/lumetta").toStdString());
    EXPECT_EQ(files.DemoShow().toStdString(), demo.toStdString());
}

TEST_F(InstalledFilesTest, PlayerBesideTheProgramComesFirst)
{
    Make("libexec/lumetta/AEXE.tms");
    const QString beside = Make("bin/AEXE.tms");
    EXPECT_EQ(InstalledFiles(root.filePath("bin")).StandalonePlayer().toStdString(), beside.toStdString());
}

TEST_F(InstalledFilesTest, MissingFilesAreNamedWhereTheyBelong)
{
    const InstalledFiles files(root.filePath("bin"));
    EXPECT_EQ(files.StandalonePlayer().toStdString(), root.filePath("libexec/lumetta/AEXE.tms").toStdString());
    EXPECT_EQ(files.HelpGuide().toStdString(), root.filePath("share/lumetta/Lumetta.html").toStdString());
    EXPECT_EQ(files.DemoShow().toStdString(), root.filePath("share/lumetta/demo/demo.zut").toStdString());
}

TEST_F(InstalledFilesTest, AFolderNamedLikeTheFileDoesNotCount)
{
    QDir().mkpath(root.filePath("bin/AEXE.tms"));
    const QString stub = Make("libexec/lumetta/AEXE.tms");
    EXPECT_EQ(InstalledFiles(root.filePath("bin")).StandalonePlayer().toStdString(), stub.toStdString());
}

}  // namespace
}  // namespace lumetta
