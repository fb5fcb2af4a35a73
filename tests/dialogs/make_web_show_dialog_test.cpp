// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/make_web_show_dialog.h"

#include "dialogs/web_show_questions.h"
#include "export/show_files.h"
#include "support/picture_files.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumetta;

namespace {

class FakeQuestions : public WebShowQuestions
{
public:
    std::optional<QString> AskTarget(const QString &, const QString &) override { return target; }
    bool AskReplace(const QString &path) override
    {
        replaceAsked << path;
        return replace;
    }
    void ShowError(const QString &message) override { errors << message; }
    bool AskWriteLarge(qint64) override { return true; }

    std::optional<QString> target;
    bool replace = false;
    QStringList replaceAsked;
    QStringList errors;
};

// A show of PICTURES noise pictures of SIZE (noise encodes slowly: a cancel finds work to stop).
ShowProject Show(int pictures, QSize size = QSize(96, 64))
{
    QStringList paths;
    for (int i = 0; i < pictures; ++i)
        paths << testpictures::WriteTemp(
            QStringLiteral("web-dialog%1-%2.bmp").arg(i).arg(size.width()),
            testpictures::MakeBmp(testpictures::NoisePicture(size.width(), size.height(), quint32(i + 1))));
    return testshows::MakeShow(paths, 3, QStringLiteral("clBlack"), {QStringLiteral("0")});
}

}  // namespace

TEST(MakeWebShowDialogTest, MakesThePageOffTheGuiThreadWithTheChosenSize)
{
    QTemporaryDir dir;
    const ShowProject project = Show(3);
    FakeQuestions questions;
    MakeWebShowDialog dialog(project, nullptr, &questions);
    dialog.show();
    const QString target = dir.filePath(QStringLiteral("show.html"));
    questions.target = target;
    dialog.SizeBox()->setCurrentIndex(1);
    dialog.QualityBox()->setValue(70);
    EXPECT_EQ(dialog.Options().maxSize, QSize(1920, 1080));
    EXPECT_EQ(dialog.Options().quality, 70);

    QSignalSpy ended(&dialog, &MakeWebShowDialog::Ended);
    // Make with an empty file field asks for the file first.
    QTest::mouseClick(dialog.MakeButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.TargetEdit()->text(), target);
    ASSERT_TRUE(ended.wait(20000));
    EXPECT_TRUE(ended.at(0).at(0).toBool());
    EXPECT_TRUE(QFile(target).size() > 0);
    EXPECT_TRUE(dialog.StateLabel()->text().startsWith(QStringLiteral("Written")));
    EXPECT_EQ(dialog.Progress()->value(), dialog.Progress()->maximum());
    EXPECT_TRUE(dialog.MakeButton()->isEnabled());
    EXPECT_TRUE(questions.errors.isEmpty());
}

TEST(MakeWebShowDialogTest, AsksBeforeReplacingAndKeepsTheFileWhenTold)
{
    QTemporaryDir dir;
    const ShowProject project = Show(1);
    FakeQuestions questions;
    MakeWebShowDialog dialog(project, nullptr, &questions);
    const QString target = dir.filePath(QStringLiteral("old.html"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old page");
    old.close();
    dialog.TargetEdit()->setText(target);
    QSignalSpy ended(&dialog, &MakeWebShowDialog::Ended);
    dialog.Make();
    EXPECT_EQ(questions.replaceAsked, QStringList{target});
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(ended.count(), 0);

    questions.replace = true;
    dialog.Make();
    ASSERT_TRUE(ended.wait(20000));
    EXPECT_TRUE(ended.at(0).at(0).toBool());
    QFile page(target);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().startsWith("<!DOCTYPE html>"));
}

TEST(MakeWebShowDialogTest, CancelStopsTheWorkAndWritesNothing)
{
    QTemporaryDir dir;
    const ShowProject project = Show(24, QSize(1200, 900));
    FakeQuestions questions;
    MakeWebShowDialog dialog(project, nullptr, &questions);
    dialog.show();
    const QString target = dir.filePath(QStringLiteral("cancelled.html"));
    dialog.TargetEdit()->setText(target);
    QSignalSpy ended(&dialog, &MakeWebShowDialog::Ended);
    dialog.Make();
    ASSERT_TRUE(dialog.Running());
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(dialog.MakeButton()->isEnabled());
    // Escape cancels the work but leaves the dialog open.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_TRUE(ended.wait(20000));
    EXPECT_FALSE(ended.at(0).at(0).toBool());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.StateLabel()->text().startsWith(QStringLiteral("Cancelled")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 0);
}

TEST(MakeWebShowDialogTest, AWrongTargetIsNamedAndNothingStarts)
{
    const ShowProject project = Show(1);
    FakeQuestions questions;
    MakeWebShowDialog dialog(project, nullptr, &questions);
    dialog.TargetEdit()->setText(QDir::temp().filePath(QStringLiteral("show.mp4")));
    dialog.Make();
    EXPECT_FALSE(dialog.Running());
    ASSERT_EQ(questions.errors.size(), 1);
    EXPECT_TRUE(questions.errors[0].contains(QStringLiteral(".html")));
}
