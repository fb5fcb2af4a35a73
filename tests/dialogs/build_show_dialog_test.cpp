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
        ASSERT_TRUE(dir_.isValid());
        // A stub that records that it ran; the show appended after "exit" is never read.
        stub_ = Write("AEXE.tms", "#!/bin/sh\necho ran > \"$0.ran\"\nexit 0\n");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        project_.Pictures() = {Write("a.jpg", testpictures::MakeJpeg(image)),
                               Write("b.jpg", testpictures::MakeJpeg(image))};
        dialog_ = std::make_unique<BuildShowDialog>(project_, nullptr, &questions_, stub_);
    }

    QString Write(const QString &name, const QByteArray &data)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        return path;
    }

    void TypeName(const QString &name)
    {
        dialog_->NameEdit()->clear();
        QTest::keyClicks(dialog_->NameEdit(), name);
    }

    QTemporaryDir dir_;
    QString stub_;
    ShowProject project_;
    ScriptedQuestions questions_;
    std::unique_ptr<BuildShowDialog> dialog_;
};

TEST_F(BuildShowDialogTest, MakeWritesAnExecutableWithoutExtensionAndFillsTheProgressBar)
{
    dialog_->show();
    TypeName(dir_.filePath("myshow"));
    bool enabledWhileBuilding = true;
    QString labelWhileBuilding;
    QTimer::singleShot(0, dialog_.get(), [&] {
        enabledWhileBuilding = dialog_->MakeButton()->isEnabled() || dialog_->CloseButton()->isEnabled();
        labelWhileBuilding = dialog_->StateLabel()->text();
    });
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(questions_.errors, QStringList());
    EXPECT_EQ(dialog_->NameEdit()->text(), dir_.filePath("myshow"));
    EXPECT_TRUE(ReadBytes(dir_.filePath("myshow")).startsWith(ReadBytes(stub_)));
    EXPECT_TRUE(QFileInfo(dir_.filePath("myshow")).isExecutable());
    EXPECT_FALSE(enabledWhileBuilding);
    EXPECT_NE(labelWhileBuilding, "Ready");
    EXPECT_EQ(dialog_->StateLabel()->text(), "Ready");
    EXPECT_TRUE(dialog_->MakeButton()->isEnabled());
    EXPECT_EQ(dialog_->Progress()->maximum(), 2);
    EXPECT_EQ(dialog_->Progress()->value(), 2);

    // Music off still counts the playlist in the maximum.
    project_.Playlist() = {"/a.wav", "/b.wav"};
    TypeName(dir_.filePath("second.exe"));
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(dialog_->Progress()->maximum(), 4);
    EXPECT_EQ(dialog_->Progress()->value(), 2);
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
        dialog_->ApplicationMode()->click();
        TypeName(dir_.filePath(c.typed));
        dialog_->ScreensaverMode()->click();
        EXPECT_EQ(dialog_->NameEdit()->text(), dir_.filePath(c.asScreensaver)) << c.typed;
        dialog_->ApplicationMode()->click();
        EXPECT_EQ(dialog_->NameEdit()->text(), dir_.filePath(c.backAsApplication)) << c.typed;
    }
    TypeName("relative");
    EXPECT_EQ(dialog_->TargetPath(), QDir::home().filePath("relative"));
    dialog_->ScreensaverMode()->click();
    EXPECT_EQ(dialog_->TargetPath(), QDir::home().filePath("relative.scr"));
}

TEST_F(BuildShowDialogTest, DefaultNameIsTheProjectsWithoutExtension)
{
    const QString projectFile = dir_.filePath("holiday.zut");
    ShowProject saved;
    saved.Pictures() = project_.Pictures();
    ScriptedDialogs answers;
    answers.saveAnswers = {dir_.filePath("holiday")};
    ASSERT_EQ(saved.SaveAs(answers), ShowProject::Outcome::Done);
    BuildShowDialog named(saved, nullptr, &questions_, stub_);
    named.show();
    EXPECT_EQ(named.NameEdit()->text(), dir_.filePath("holiday"));
    named.close();
    named.NameEdit()->clear();
    named.ScreensaverMode()->setChecked(true);
    named.show();
    EXPECT_EQ(named.NameEdit()->text(), dir_.filePath("holiday.scr"));
    EXPECT_TRUE(QFile::exists(projectFile));
}

TEST_F(BuildShowDialogTest, ScreensaverModeIsExplainedForLinux)
{
    const QString text = dialog_->ModesExplained()->text();
    EXPECT_TRUE(text.contains("Linux")) << text.toStdString();
    EXPECT_TRUE(text.contains("/s") && text.contains("/c") && text.contains("/p")) << text.toStdString();
    // What a built show needs to run, and the way to share one anywhere.
    EXPECT_TRUE(text.contains("Lumetta's libraries")) << text.toStdString();
    EXPECT_TRUE(text.contains("Export Video")) << text.toStdString();
    EXPECT_FALSE(text.contains("without Lumetta")) << text.toStdString();
    EXPECT_EQ(dialog_->ApplicationMode()->text().remove(u'&'), "Make application");
}

TEST_F(BuildShowDialogTest, BrowseTakesTheChosenFilter)
{
    questions_.targets = {std::pair{dir_.filePath("saver"), true}, std::nullopt};
    QTest::mouseClick(dialog_->BrowseButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog_->ScreensaverMode()->isChecked());
    EXPECT_EQ(dialog_->NameEdit()->text(), dir_.filePath("saver.scr"));
    QTest::mouseClick(dialog_->BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog_->NameEdit()->text(), dir_.filePath("saver.scr"));
    EXPECT_EQ(questions_.asked, QStringList({"target  0", "target " + dir_.filePath("saver.scr") + " 1"}));
}

TEST_F(BuildShowDialogTest, ExistingTargetIsReplacedOnlyWhenTheUserAgrees)
{
    const QString target = Write("show.exe", "precious");
    TypeName(target);
    questions_.replaceAnswers = {false, true};
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(ReadBytes(target), "precious");
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    EXPECT_TRUE(ReadBytes(target).startsWith(ReadBytes(stub_)));
    EXPECT_EQ(questions_.asked, QStringList({"replace " + target, "replace " + target}));
}

// One of the show's own files is refused before the question about replacing it is asked.
TEST_F(BuildShowDialogTest, ShowsOwnFileIsRefusedWithoutAskingToReplaceIt)
{
    const QString picture = project_.Pictures()[0];
    const QByteArray before = ReadBytes(picture);
    for (const QString &target : {picture, stub_}) {
        questions_.errors.clear();
        TypeName(target);
        questions_.replaceAnswers = {true};
        QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
        ASSERT_EQ(questions_.errors.size(), 1);
        EXPECT_TRUE(questions_.errors[0].startsWith("Cannot create file " + target + ": it is "))
            << questions_.errors[0].toStdString();
        EXPECT_TRUE(questions_.asked.isEmpty());
        EXPECT_TRUE(dialog_->NameEdit()->hasFocus() || !dialog_->isVisible());
    }
    EXPECT_EQ(ReadBytes(picture), before);
    EXPECT_TRUE(dialog_->MakeButton()->isEnabled());
}

TEST_F(BuildShowDialogTest, FailureIsShownAndTheDialogStaysUsable)
{
    project_.Pictures().append(dir_.filePath("missing.gif"));
    TypeName(dir_.filePath("show.exe"));
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    ASSERT_EQ(questions_.errors.size(), 1);
    EXPECT_TRUE(questions_.errors[0].contains(dir_.filePath("missing.gif")));
    EXPECT_FALSE(QFile::exists(dir_.filePath("show.exe")));
    EXPECT_TRUE(dialog_->MakeButton()->isEnabled() && dialog_->CloseButton()->isEnabled());

    TypeName(" ");
    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    EXPECT_EQ(questions_.errors.size(), 2);
}

TEST_F(BuildShowDialogTest, TestRunsTheBuiltShow)
{
    TypeName(dir_.filePath("show.exe"));
    QTest::mouseClick(dialog_->TestButton(), Qt::LeftButton);
    EXPECT_EQ(questions_.errors.size(), 1);

    QTest::mouseClick(dialog_->MakeButton(), Qt::LeftButton);
    QTest::mouseClick(dialog_->TestButton(), Qt::LeftButton);
    const QString marker = dir_.filePath("show.exe.ran");
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i)
        QTest::qWait(50);
    EXPECT_EQ(ReadBytes(marker), "ran\n");
    EXPECT_EQ(questions_.errors.size(), 1);
}

}  // namespace
}  // namespace lumetta
