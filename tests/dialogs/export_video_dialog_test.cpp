// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/export_video_dialog.h"

#include "dialogs/export_video_questions.h"
#include "show/show_project.h"
#include "support/picture_files.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumetta;

namespace {

class FakeQuestions : public ExportVideoQuestions
{
public:
    std::optional<QString> AskTarget(const QString &current, const QString &filter) override
    {
        asked = current;
        askedFilter = filter;
        return answer;
    }
    bool AskReplace(const QString &path) override
    {
        replaceAsked = path;
        return replace;
    }
    void ShowError(const QString &message) override { errors << message; }

    std::optional<QString> answer;
    bool replace = false;
    QString asked, askedFilter, replaceAsked;
    QStringList errors;
};

class ExportVideoDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage picture(16, 12, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = testpictures::writeTemp(QStringLiteral("dialog.bmp"), testpictures::makeBmp(picture));
        ShowSettings &settings = project.Settings();
        settings.Put(ShowSettings::kAdvance, QStringLiteral("1"));
        settings.Put(ShowSettings::kLooping, QStringLiteral("No"));
        project.Pictures() = {path};
        project.EffectSelection() = {QStringLiteral("11")};
        dialog.show();
        // The smallest choices keep the export short.
        dialog.SizeBox()->setCurrentIndex(0);
        dialog.RateBox()->setCurrentIndex(0);
        dialog.QualityBox()->setCurrentIndex(0);
        dialog.TargetEdit()->setText(dir.filePath(QStringLiteral("video")));
    }
    void TearDown() override
    {
        if (dialog.Exporting()) {
            QSignalSpy ended(&dialog, &ExportVideoDialog::ExportEnded);
            dialog.CancelOrClose();
            ended.wait(30000);
        }
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    ShowProject project;
    FakeQuestions questions;
    ExportVideoDialog dialog{project, nullptr, &questions};
};

}  // namespace

TEST_F(ExportVideoDialogTest, OffersTheFormatsSizesRatesAndQualities)
{
    EXPECT_EQ(dialog.FormatBox()->count(), 3);
    EXPECT_EQ(dialog.SizeBox()->itemText(2), QStringLiteral("3840 x 2160"));
    EXPECT_EQ(dialog.RateBox()->itemText(2), QStringLiteral("60 frames per second"));
    EXPECT_EQ(dialog.QualityBox()->count(), 3);
    dialog.SizeBox()->setCurrentIndex(1);
    dialog.RateBox()->setCurrentIndex(1);
    dialog.QualityBox()->setCurrentIndex(2);
    const ExportSettings settings = dialog.Settings();
    EXPECT_EQ(settings.size, QSize(1920, 1080));
    EXPECT_EQ(settings.fps, 30);
    EXPECT_EQ(settings.quality, ExportQuality::Best);
}

TEST_F(ExportVideoDialogTest, TheFormatGivesTheFileItsSuffix)
{
    dialog.FormatBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog.TargetPath(), dir.filePath(QStringLiteral("video.mp4")));
    dialog.FormatBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.TargetEdit()->text(), dir.filePath(QStringLiteral("video.webm")));
    dialog.FormatBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.TargetEdit()->text(), dir.filePath(QStringLiteral("video.mkv")));
    dialog.TargetEdit()->setText(QStringLiteral("holiday.avi"));
    EXPECT_EQ(dialog.TargetPath(), QDir::home().filePath(QStringLiteral("holiday.mkv")));
}

TEST_F(ExportVideoDialogTest, BrowseOffersTheFormatsFilesOnly)
{
    dialog.FormatBox()->setCurrentIndex(1);
    questions.answer = dir.filePath(QStringLiteral("chosen"));
    QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(questions.askedFilter, QStringLiteral("WebM (VP9 + Opus) (*.webm)"));
    EXPECT_EQ(dialog.TargetEdit()->text(), dir.filePath(QStringLiteral("chosen.webm")));
}

TEST_F(ExportVideoDialogTest, ExportsWithAProgressBarAndSaysWhereTheVideoIs)
{
    dialog.FormatBox()->setCurrentIndex(0);
    QSignalSpy ended(&dialog, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog.ExportButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.Exporting());
    EXPECT_FALSE(dialog.ExportButton()->isEnabled());
    EXPECT_FALSE(dialog.FormatBox()->isEnabled());
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Done);
    EXPECT_EQ(dialog.Progress()->value(), dialog.Progress()->maximum());
    EXPECT_TRUE(dialog.StateLabel()->text().contains(QStringLiteral("video.mp4")));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Close"));
    EXPECT_TRUE(dialog.ExportButton()->isEnabled());
    EXPECT_EQ(Files(), QStringList{QStringLiteral("video.mp4")});
    EXPECT_TRUE(questions.errors.isEmpty());
}

TEST_F(ExportVideoDialogTest, AnExistingFileIsReplacedOnlyWhenTheUserAgrees)
{
    dialog.FormatBox()->setCurrentIndex(2);
    QFile old(dir.filePath(QStringLiteral("video.mkv")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    questions.replace = false;
    QTest::mouseClick(dialog.ExportButton(), Qt::LeftButton);
    EXPECT_EQ(questions.replaceAsked, dir.filePath(QStringLiteral("video.mkv")));
    EXPECT_FALSE(dialog.Exporting());
    EXPECT_EQ(QFileInfo(old).size(), 3);
}

TEST_F(ExportVideoDialogTest, CancelStopsTheExportAndWritesNothing)
{
    project.Pictures() = QStringList(60, project.Pictures().first());
    QSignalSpy ended(&dialog, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog.ExportButton(), Qt::LeftButton);
    ASSERT_TRUE(dialog.Exporting());
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Cancelled);
    EXPECT_TRUE(dialog.StateLabel()->text().contains(QStringLiteral("cancelled")));
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ExportVideoDialogTest, EscapeDuringAnExportCancelsItAndCloses)
{
    project.Pictures() = QStringList(60, project.Pictures().first());
    QSignalSpy ended(&dialog, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog.ExportButton(), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ExportVideoDialogTest, AFailureIsShownWithItsReason)
{
    dialog.TargetEdit()->setText(dir.filePath(QStringLiteral("missing/folder/video.mp4")));
    QSignalSpy ended(&dialog, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog.ExportButton(), Qt::LeftButton);
    if (ended.isEmpty()) {
        ASSERT_TRUE(ended.wait(30000));
    }
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Failed);
    ASSERT_EQ(questions.errors.size(), 1);
    EXPECT_TRUE(questions.errors[0].contains(QStringLiteral("video.mp4")));
    EXPECT_EQ(dialog.StateLabel()->text(), QStringLiteral("Export failed"));
}
