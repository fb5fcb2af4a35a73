// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/build_show_dialog.h"
#include "show/show_project.h"
#include "support/file_bytes.h"
#include "support/picture_files.h"
#include "support/qstring_print.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace lumetta {
namespace {

using testfiles::ReadBytes;

class ScriptedQuestions : public BuildShowQuestions
{
public:
    std::deque<std::optional<std::pair<QString, bool>>> targets;
    std::deque<bool> replaceAnswers;
    QStringList asked;
    QStringList errors;

    std::optional<std::pair<QString, bool>> AskTarget(const QString &current, bool screensaver) override
    {
        asked << QStringLiteral("target %1 %2").arg(current).arg(screensaver);
        auto answer = targets.empty() ? std::nullopt : targets.front();
        if (!targets.empty())
            targets.pop_front();
        return answer;
    }
    bool AskReplace(const QString &path) override
    {
        asked << "replace " + path;
        const bool answer = !replaceAnswers.empty() && replaceAnswers.front();
        if (!replaceAnswers.empty())
            replaceAnswers.pop_front();
        return answer;
    }
    void ShowError(const QString &message) override { errors << message; }
};

class BuildShowDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A stub that records that it ran; the show appended after "exit" is never read.
        stub = Write("AEXE.tms", "#!/bin/sh\necho ran > \"$0.ran\"\nexit 0\n");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        project.Pictures() = {Write("a.jpg", testpictures::makeJpeg(image)),
                              Write("b.jpg", testpictures::makeJpeg(image))};
        dialog = std::make_unique<BuildShowDialog>(project, nullptr, &questions, stub);
    }

    QString Write(const QString &name, const QByteArray &data)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        return path;
    }

    void TypeName(const QString &name)
    {
        dialog->NameEdit()->clear();
        QTest::keyClicks(dialog->NameEdit(), name);
    }

    QTemporaryDir dir;
    QString stub;
    ShowProject project;
    ScriptedQuestions questions;
    std::unique_ptr<BuildShowDialog> dialog;
};

TEST_F(BuildShowDialogTest, MakeWritesAnExecutableWithoutExtensionAndFillsTheProgressBar)
{
    dialog->show();
    TypeName(dir.filePath("myshow"));
    bool enabledWhileBuilding = true;
    QString labelWhileBuilding;
    QTimer::singleShot(0, dialog.get(), [&] {
        enabledWhileBuilding = dialog->MakeButton()->isEnabled() || dialog->CloseButton()->isEnabled();
        labelWhileBuilding = dialog->StateLabel()->text();
    });
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(questions.errors, QStringList());
    EXPECT_EQ(dialog->NameEdit()->text(), dir.filePath("myshow"));
    EXPECT_TRUE(ReadBytes(dir.filePath("myshow")).startsWith(ReadBytes(stub)));
    EXPECT_TRUE(QFileInfo(dir.filePath("myshow")).isExecutable());
    EXPECT_FALSE(enabledWhileBuilding);
    EXPECT_NE(labelWhileBuilding, "Ready");
    EXPECT_EQ(dialog->StateLabel()->text(), "Ready");
    EXPECT_TRUE(dialog->MakeButton()->isEnabled());
    EXPECT_EQ(dialog->Progress()->maximum(), 2);
    EXPECT_EQ(dialog->Progress()->value(), 2);

    // Music off still counts the playlist in the maximum.
    project.Playlist() = {"/a.wav", "/b.wav"};
    TypeName(dir.filePath("second.exe"));
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->Progress()->maximum(), 4);
    EXPECT_EQ(dialog->Progress()->value(), 2);
}

TEST_F(BuildShowDialogTest, ModeSwitchesTheExtension)
{
    const struct
    {
        const char *typed;
        const char *asScreensaver;
        const char *backAsApplication;
    } cases[] = {
        {"show", "show.scr", "show"},
        {"show.exe", "show.scr", "show"},
        {"show.SCR", "show.SCR", "show"},
        {"show.bin", "show.bin", "show.bin"},
    };
    for (const auto &c : cases) {
        dialog->ApplicationMode()->click();
        TypeName(dir.filePath(c.typed));
        dialog->ScreensaverMode()->click();
        EXPECT_EQ(dialog->NameEdit()->text(), dir.filePath(c.asScreensaver)) << c.typed;
        dialog->ApplicationMode()->click();
        EXPECT_EQ(dialog->NameEdit()->text(), dir.filePath(c.backAsApplication)) << c.typed;
    }
    TypeName("relative");
    EXPECT_EQ(dialog->TargetPath(), QDir::home().filePath("relative"));
    dialog->ScreensaverMode()->click();
    EXPECT_EQ(dialog->TargetPath(), QDir::home().filePath("relative.scr"));
}

TEST_F(BuildShowDialogTest, DefaultNameIsTheProjectsWithoutExtension)
{
    const QString projectFile = dir.filePath("holiday.zut");
    ShowProject saved;
    saved.Pictures() = project.Pictures();
    ScriptedDialogs answers;
    answers.saveAnswers = {dir.filePath("holiday")};
    ASSERT_EQ(saved.SaveAs(answers), ShowProject::Outcome::Done);
    BuildShowDialog named(saved, nullptr, &questions, stub);
    named.show();
    EXPECT_EQ(named.NameEdit()->text(), dir.filePath("holiday"));
    named.close();
    named.NameEdit()->clear();
    named.ScreensaverMode()->setChecked(true);
    named.show();
    EXPECT_EQ(named.NameEdit()->text(), dir.filePath("holiday.scr"));
    EXPECT_TRUE(QFile::exists(projectFile));
}

TEST_F(BuildShowDialogTest, ScreensaverModeIsExplainedForLinux)
{
    const QString text = dialog->ModesExplained()->text();
    EXPECT_TRUE(text.contains("Linux")) << text.toStdString();
    EXPECT_TRUE(text.contains("/s") && text.contains("/c") && text.contains("/p")) << text.toStdString();
    // What a built show needs to run, and the way to share one anywhere.
    EXPECT_TRUE(text.contains("Lumetta's libraries")) << text.toStdString();
    EXPECT_TRUE(text.contains("Export Video")) << text.toStdString();
    EXPECT_FALSE(text.contains("without Lumetta")) << text.toStdString();
    EXPECT_EQ(dialog->ApplicationMode()->text().remove(u'&'), "Make application");
}

TEST_F(BuildShowDialogTest, BrowseTakesTheChosenFilter)
{
    questions.targets = {std::pair{dir.filePath("saver"), true}, std::nullopt};
    QTest::mouseClick(dialog->BrowseButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->ScreensaverMode()->isChecked());
    EXPECT_EQ(dialog->NameEdit()->text(), dir.filePath("saver.scr"));
    QTest::mouseClick(dialog->BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->NameEdit()->text(), dir.filePath("saver.scr"));
    EXPECT_EQ(questions.asked, QStringList({"target  0", "target " + dir.filePath("saver.scr") + " 1"}));
}

TEST_F(BuildShowDialogTest, ExistingTargetIsReplacedOnlyWhenTheUserAgrees)
{
    const QString target = Write("show.exe", "precious");
    TypeName(target);
    questions.replaceAnswers = {false, true};
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(ReadBytes(target), "precious");
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    EXPECT_TRUE(ReadBytes(target).startsWith(ReadBytes(stub)));
    EXPECT_EQ(questions.asked, QStringList({"replace " + target, "replace " + target}));
}

// One of the show's own files is refused before the question about replacing it is asked.
TEST_F(BuildShowDialogTest, ShowsOwnFileIsRefusedWithoutAskingToReplaceIt)
{
    const QString picture = project.Pictures()[0];
    const QByteArray before = ReadBytes(picture);
    for (const QString &target : {picture, stub}) {
        questions.errors.clear();
        TypeName(target);
        questions.replaceAnswers = {true};
        QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
        ASSERT_EQ(questions.errors.size(), 1);
        EXPECT_TRUE(questions.errors[0].startsWith("Cannot create file " + target + ": it is "))
            << questions.errors[0].toStdString();
        EXPECT_TRUE(questions.asked.isEmpty());
        EXPECT_TRUE(dialog->NameEdit()->hasFocus() || !dialog->isVisible());
    }
    EXPECT_EQ(ReadBytes(picture), before);
    EXPECT_TRUE(dialog->MakeButton()->isEnabled());
}

TEST_F(BuildShowDialogTest, FailureIsShownAndTheDialogStaysUsable)
{
    project.Pictures().append(dir.filePath("missing.gif"));
    TypeName(dir.filePath("show.exe"));
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    ASSERT_EQ(questions.errors.size(), 1);
    EXPECT_TRUE(questions.errors[0].contains(dir.filePath("missing.gif")));
    EXPECT_FALSE(QFile::exists(dir.filePath("show.exe")));
    EXPECT_TRUE(dialog->MakeButton()->isEnabled() && dialog->CloseButton()->isEnabled());

    TypeName(" ");
    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(questions.errors.size(), 2);
}

TEST_F(BuildShowDialogTest, TestRunsTheBuiltShow)
{
    TypeName(dir.filePath("show.exe"));
    QTest::mouseClick(dialog->TestButton(), Qt::LeftButton);
    EXPECT_EQ(questions.errors.size(), 1);

    QTest::mouseClick(dialog->MakeButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->TestButton(), Qt::LeftButton);
    const QString marker = dir.filePath("show.exe.ran");
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i)
        QTest::qWait(50);
    EXPECT_EQ(ReadBytes(marker), "ran\n");
    EXPECT_EQ(questions.errors.size(), 1);
}

}  // namespace
}  // namespace lumetta
