// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/export_video_dialog.h"

#include "dialogs/export_video_questions.h"
#include "export/video_file_reader.h"
#include "show/show_project.h"
#include "support/picture_files.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDir>
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
        ASSERT_TRUE(dir_.isValid());
        QImage picture(16, 12, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = testpictures::WriteTemp(QStringLiteral("dialog.bmp"), testpictures::MakeBmp(picture));
        ShowSettings &settings = project_.Settings();
        settings.Put(ShowSettings::AdvanceLine, QStringLiteral("1"));
        settings.Put(ShowSettings::LoopingLine, QStringLiteral("No"));
        project_.Pictures() = {path};
        project_.EffectSelection() = {QStringLiteral("11")};
        dialog_.show();
        // The smallest choices keep the export short.
        dialog_.SizeBox()->setCurrentIndex(0);
        dialog_.RateBox()->setCurrentIndex(0);
        dialog_.QualityBox()->setCurrentIndex(0);
        dialog_.TargetEdit()->setText(dir_.filePath(QStringLiteral("video")));
    }
    void TearDown() override
    {
        if (dialog_.Exporting()) {
            QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
            dialog_.CancelOrClose();
            ended.wait(30000);
        }
    }
    QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir_;
    ShowProject project_;
    FakeQuestions questions_;
    ExportVideoDialog dialog_{project_, nullptr, &questions_};
};

}  // namespace

TEST_F(ExportVideoDialogTest, OffersTheFormatsSizesRatesAndQualities)
{
    EXPECT_EQ(dialog_.FormatBox()->count(), 3);
    EXPECT_EQ(dialog_.SizeBox()->itemText(2), QStringLiteral("3840 x 2160"));
    EXPECT_EQ(dialog_.RateBox()->itemText(2), QStringLiteral("60 frames per second"));
    EXPECT_EQ(dialog_.SizeBox()->itemText(3), QStringLiteral("1080 x 1920 (portrait, for phones)"));
    EXPECT_EQ(dialog_.SizeBox()->itemText(4), QStringLiteral("1080 x 1080 (square)"));
    EXPECT_EQ(dialog_.SizeBox()->itemText(5), QStringLiteral("Custom size"));
    EXPECT_EQ(dialog_.QualityBox()->count(), 4);
    const QSize sizes[] = {{1280, 720}, {1920, 1080}, {3840, 2160}, {1080, 1920}, {1080, 1080}};
    for (int i = 0; i < 5; ++i) {
        dialog_.SizeBox()->setCurrentIndex(i);
        EXPECT_EQ(dialog_.Settings().size, sizes[i]) << i;
        EXPECT_FALSE(dialog_.WidthBox()->isEnabled()) << i;
    }
    dialog_.SizeBox()->setCurrentIndex(1);
    dialog_.RateBox()->setCurrentIndex(1);
    dialog_.QualityBox()->setCurrentIndex(2);
    const ExportSettings settings = dialog_.Settings();
    EXPECT_EQ(settings.size, QSize(1920, 1080));
    EXPECT_EQ(settings.fps, 30);
    EXPECT_EQ(settings.quality, ExportQuality::Best);
}

TEST_F(ExportVideoDialogTest, TheFormatGivesTheFileItsSuffix)
{
    dialog_.FormatBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog_.TargetPath(), dir_.filePath(QStringLiteral("video.mp4")));
    dialog_.FormatBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog_.TargetEdit()->text(), dir_.filePath(QStringLiteral("video.webm")));
    dialog_.FormatBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog_.TargetEdit()->text(), dir_.filePath(QStringLiteral("video.mkv")));
    dialog_.TargetEdit()->setText(QStringLiteral("holiday.avi"));
    EXPECT_EQ(dialog_.TargetPath(), QDir::home().filePath(QStringLiteral("holiday.mkv")));
}

TEST_F(ExportVideoDialogTest, BrowseOffersTheFormatsFilesOnly)
{
    dialog_.FormatBox()->setCurrentIndex(1);
    questions_.answer = dir_.filePath(QStringLiteral("chosen"));
    QTest::mouseClick(dialog_.BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(questions_.askedFilter, QStringLiteral("WebM (VP9 + Opus) (*.webm)"));
    EXPECT_EQ(dialog_.TargetEdit()->text(), dir_.filePath(QStringLiteral("chosen.webm")));
}

TEST_F(ExportVideoDialogTest, ExportsWithAProgressBarAndSaysWhereTheVideoIs)
{
    dialog_.FormatBox()->setCurrentIndex(0);
    QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog_.Exporting());
    EXPECT_FALSE(dialog_.ExportButton()->isEnabled());
    EXPECT_FALSE(dialog_.FormatBox()->isEnabled());
    EXPECT_EQ(dialog_.CancelButton()->text(), QStringLiteral("Cancel"));
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Done);
    EXPECT_EQ(dialog_.Progress()->value(), dialog_.Progress()->maximum());
    EXPECT_TRUE(dialog_.StateLabel()->text().contains(QStringLiteral("video.mp4")));
    EXPECT_EQ(dialog_.CancelButton()->text(), QStringLiteral("Close"));
    EXPECT_TRUE(dialog_.ExportButton()->isEnabled());
    EXPECT_EQ(Files(), QStringList{QStringLiteral("video.mp4")});
    EXPECT_TRUE(questions_.errors.isEmpty());
}

TEST_F(ExportVideoDialogTest, AnExistingFileIsReplacedOnlyWhenTheUserAgrees)
{
    dialog_.FormatBox()->setCurrentIndex(2);
    QFile old(dir_.filePath(QStringLiteral("video.mkv")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    questions_.replace = false;
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    EXPECT_EQ(questions_.replaceAsked, dir_.filePath(QStringLiteral("video.mkv")));
    EXPECT_FALSE(dialog_.Exporting());
    EXPECT_EQ(QFileInfo(old).size(), 3);
}

TEST_F(ExportVideoDialogTest, CancelStopsTheExportAndWritesNothing)
{
    project_.Pictures() = QStringList(60, project_.Pictures().first());
    QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    ASSERT_TRUE(dialog_.Exporting());
    QTest::mouseClick(dialog_.CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Cancelled);
    EXPECT_TRUE(dialog_.StateLabel()->text().contains(QStringLiteral("cancelled")));
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(ExportVideoDialogTest, EscapeDuringAnExportCancelsItAndCloses)
{
    project_.Pictures() = QStringList(60, project_.Pictures().first());
    QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible());
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ExportVideoDialogTest, AFailureIsShownWithItsReason)
{
    dialog_.TargetEdit()->setText(dir_.filePath(QStringLiteral("missing/folder/video.mp4")));
    QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    if (ended.isEmpty()) {
        ASSERT_TRUE(ended.wait(30000));
    }
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Failed);
    ASSERT_EQ(questions_.errors.size(), 1);
    EXPECT_TRUE(questions_.errors[0].contains(QStringLiteral("video.mp4")));
    EXPECT_EQ(dialog_.StateLabel()->text(), QStringLiteral("Export failed"));
}

TEST_F(ExportVideoDialogTest, ACustomSizeIsRoundedToEvenWithANote)
{
    dialog_.SizeBox()->setCurrentIndex(5);
    EXPECT_TRUE(dialog_.WidthBox()->isEnabled());
    EXPECT_TRUE(dialog_.HeightBox()->isEnabled());
    dialog_.WidthBox()->setValue(65);
    dialog_.HeightBox()->setValue(49);
    EXPECT_EQ(dialog_.Settings().size, QSize(65, 49));
    // Lossless is the quickest to write at this size.
    dialog_.QualityBox()->setCurrentIndex(3);
    QSignalSpy ended(&dialog_, &ExportVideoDialog::ExportEnded);
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_EQ(ended.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Done);
    EXPECT_TRUE(dialog_.WarningsLabel()->text().contains(QStringLiteral("rounded to 64x48")))
        << dialog_.WarningsLabel()->text().toStdString();
    const testvideo::VideoFile video = testvideo::ReadVideoFile(dir_.filePath(QStringLiteral("video.mkv")));
    EXPECT_EQ(QSize(video.width, video.height), QSize(64, 48));
    EXPECT_EQ(video.videoCodec, QStringLiteral("ffv1"));
}

TEST_F(ExportVideoDialogTest, LosslessGoesOnlyIntoMkv)
{
    dialog_.FormatBox()->setCurrentIndex(0);
    dialog_.QualityBox()->setCurrentIndex(3);
    EXPECT_EQ(dialog_.Container(), VideoContainer::Mkv);
    EXPECT_EQ(dialog_.Settings().quality, ExportQuality::Lossless);
    EXPECT_EQ(dialog_.TargetPath(), dir_.filePath(QStringLiteral("video.mkv")));
    dialog_.FormatBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog_.Settings().quality, ExportQuality::Best);
}

TEST_F(ExportVideoDialogTest, TheSlideLengthIsAskedForManualShowsOnly)
{
    // The fixture's show changes slides every second by itself.
    EXPECT_FALSE(dialog_.SlideLengthBox()->isEnabled());
    EXPECT_DOUBLE_EQ(dialog_.SlideLengthBox()->value(), 1.0);
    dialog_.hide();
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    dialog_.show();
    ASSERT_TRUE(dialog_.SlideLengthBox()->isEnabled());
    dialog_.SlideLengthBox()->setValue(2.5);
    EXPECT_DOUBLE_EQ(dialog_.Settings().slideSeconds, 2.5);
    // Back to an automatic show and to a manual one: the manual length is kept.
    dialog_.hide();
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("3"));
    dialog_.show();
    EXPECT_DOUBLE_EQ(dialog_.SlideLengthBox()->value(), 3.0);
    dialog_.hide();
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    dialog_.show();
    EXPECT_DOUBLE_EQ(dialog_.SlideLengthBox()->value(), 2.5);
}

TEST_F(ExportVideoDialogTest, TheShowsOwnFilesAreRefusedBeforeAnyQuestion)
{
    const QString track = dir_.filePath(QStringLiteral("song.mkv"));
    QFile song(track);
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write("music");
    song.close();
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project_.Playlist() = {track};
    dialog_.FormatBox()->setCurrentIndex(2);
    dialog_.TargetEdit()->setText(dir_.filePath(QStringLiteral("song")));
    questions_.replace = true;
    QTest::mouseClick(dialog_.ExportButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog_.Exporting());
    EXPECT_EQ(questions_.replaceAsked, QString());
    ASSERT_EQ(questions_.errors.size(), 1);
    EXPECT_EQ(questions_.errors[0], "Cannot write " + track + ": it is one of the show's music files");
    ASSERT_TRUE(song.open(QIODevice::ReadOnly));
    EXPECT_EQ(song.readAll(), QByteArray("music"));
}
