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
    void SetUp() override { ASSERT_TRUE(root_.isValid()); }

    QString Make(const QString &relative)
    {
        const QString path = root_.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    QTemporaryDir root_;
};

TEST_F(InstalledFilesTest, InstalledLayoutIsFoundFromTheProgramsFolder)
{
    const QString stub = Make("libexec/lumetta/AEXE.tms");
    const QString guide = Make("share/lumetta/Lumetta.html");
    const QString demo = Make("share/lumetta/demo/demo.zut");
    const InstalledFiles files(root_.filePath("bin"));
    EXPECT_EQ(files.StandalonePlayer().toStdString(), stub.toStdString());
    EXPECT_EQ(files.HelpGuide().toStdString(), guide.toStdString());
    EXPECT_EQ(files.HelpFolder().toStdString(), root_.filePath("share/lumetta").toStdString());
    EXPECT_EQ(files.DemoShow().toStdString(), demo.toStdString());
}

TEST_F(InstalledFilesTest, PlayerBesideTheProgramComesFirst)
{
    Make("libexec/lumetta/AEXE.tms");
    const QString beside = Make("bin/AEXE.tms");
    EXPECT_EQ(InstalledFiles(root_.filePath("bin")).StandalonePlayer().toStdString(), beside.toStdString());
}

TEST_F(InstalledFilesTest, MissingFilesAreNamedWhereTheyBelong)
{
    const InstalledFiles files(root_.filePath("bin"));
    EXPECT_EQ(files.StandalonePlayer().toStdString(), root_.filePath("libexec/lumetta/AEXE.tms").toStdString());
    EXPECT_EQ(files.HelpGuide().toStdString(), root_.filePath("share/lumetta/Lumetta.html").toStdString());
    EXPECT_EQ(files.DemoShow().toStdString(), root_.filePath("share/lumetta/demo/demo.zut").toStdString());
}

TEST_F(InstalledFilesTest, AFolderNamedLikeTheFileDoesNotCount)
{
    QDir().mkpath(root_.filePath("bin/AEXE.tms"));
    const QString stub = Make("libexec/lumetta/AEXE.tms");
    EXPECT_EQ(InstalledFiles(root_.filePath("bin")).StandalonePlayer().toStdString(), stub.toStdString());
}

}  // namespace
}  // namespace lumetta
