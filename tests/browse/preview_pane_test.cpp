// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/preview_pane.h"

#include "media/picture_error.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(FitPreview, Rules)
{
    struct Case
    {
        QSize picture;
        QSize panel;
        QRect expected;
    };
    const Case cases[] = {
        {{800, 600}, {479, 282}, {58, 5, 363, 272}},
        {{600, 800}, {479, 282}, {138, 5, 204, 272}},  // left 137.5 -> 138
        {{1600, 400}, {479, 282}, {5, 82, 469, 117}},  // height 117.25, top 82.5 -> 82
        {{4, 1}, {20, 20}, {5, 9, 10, 2}},  // height 2.5 -> 2
        {{4, 1}, {24, 20}, {5, 8, 14, 4}},  // height 3.5 -> 4
        {{300, 300}, {300, 300}, {5, 5, 290, 290}},  // equal ratios: the height decides
        {{800, 600}, {479, 0}, {}},
        {{800, 600}, {479, 10}, {}},
        {{800, 600}, {0, 0}, {}},
        {{0, 600}, {479, 282}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitPreview(c.picture, c.panel), c.expected)
            << c.picture.width() << "x" << c.picture.height() << " in " << c.panel.width() << "x" << c.panel.height();
}

class PreviewPaneTest : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QSize &size, const char *format)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        const QString path = dir_.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(PreviewPaneTest, FitsAndRefitsOnResize)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    pane.ShowFile(Write(QStringLiteral("p.bmp"), {800, 600}, "BMP"));
    EXPECT_EQ(pane.ImageGeometry(), QRect(58, 5, 363, 272));
    const QLabel *image = pane.findChild<QLabel *>();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().deviceIndependentSize().toSize(), QSize(363, 272));

    pane.resize(479, 0);
    EXPECT_TRUE(pane.ImageGeometry().isEmpty());
    pane.resize(210, 160);
    EXPECT_EQ(pane.ImageGeometry(), QRect(5, 5, 200, 150));
}

TEST_F(PreviewPaneTest, LargeJpegsAreDecodedAtAQuarter)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.ShowFile(Write(QStringLiteral("big.jpg"), {4000, 3000}, "JPEG"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1000, 750));
    EXPECT_TRUE(pane.CurrentPicture().IsDecoded());
    pane.ShowFile(Write(QStringLiteral("small.jpg"), {1000, 640}, "JPEG"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1000, 640));
    pane.ShowFile(Write(QStringLiteral("big.bmp"), {1200, 10}, "BMP"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1200, 10));
}

TEST_F(PreviewPaneTest, PhotosOfTodaysCamerasShowUpright)
{
    // A portrait photo whose camera stored it on its side with an orientation tag, and portrait
    // PNG, WebP, TIFF, HEIC and AVIF files: each fits the panel as a portrait, 204 x 272.
    const QImage upright = testpictures::QuadrantPicture(48, 64);
    const QByteArray sideways = testpictures::MakeJpeg(testpictures::StoredForOrientation(upright, 6));
    const std::pair<const char *, QByteArray> files[] = {
        {"portrait.jpg", testpictures::WithJpegApp1(sideways, testpictures::MakeExifBlock(6))},
        {"portrait.PNG", testpictures::MakeQtPicture(upright, "png")},
        {"portrait.webp", testpictures::MakeQtPicture(upright, "webp")},
        {"portrait.tif", testpictures::MakeQtPicture(upright, "tiff")},
        {"portrait.HEIC", testpictures::MakeHeif(upright, false)},
        {"portrait.avif", testpictures::MakeHeif(upright, true)},
    };
    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    for (const auto &[name, data] : files) {
        pane.ShowFile(testpictures::WriteTemp(QString::fromLatin1(name), data));
        EXPECT_EQ(pane.ImageGeometry(), QRect(138, 5, 204, 272)) << name;
        const QImage shown = pane.findChild<QLabel *>()->pixmap().toImage();
        EXPECT_GT(qRed(shown.pixel(shown.width() / 4, shown.height() / 4)), 200) << name << ": red at the top left";
        EXPECT_GT(qBlue(shown.pixel(shown.width() / 4, shown.height() * 3 / 4)), 200)
            << name << ": blue at the bottom left";
    }
}

TEST_F(PreviewPaneTest, AFileThatCannotBeShownSaysWhyInThePanel)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    pane.ShowFile(Write(QStringLiteral("p.bmp"), {80, 60}, "BMP"));
    const QString missing = dir_.path() + QStringLiteral("/missing.jpg");
    pane.ShowFile(missing);
    // The old picture is not left standing under the new name.
    EXPECT_FALSE(pane.HasPicture());
    EXPECT_TRUE(pane.ImageGeometry().isEmpty());
    EXPECT_EQ(pane.Status(), PictureReader::Status::Missing);
    EXPECT_EQ(pane.Message(), "Cannot load picture " + missing + ": the file does not exist");
    const auto *message = pane.findChild<QLabel *>(QStringLiteral("PreviewMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->geometry(), pane.rect());

    pane.ShowFile(Write(QStringLiteral("q.bmp"), {80, 60}, "BMP"));
    EXPECT_TRUE(pane.Message().isEmpty());
    EXPECT_FALSE(message->isVisible());
    pane.ShowFile(missing);
    pane.Clear();
    EXPECT_FALSE(pane.HasPicture());
    EXPECT_TRUE(pane.Message().isEmpty());
    EXPECT_TRUE(pane.ImageGeometry().isEmpty());
}

TEST_F(PreviewPaneTest, AJpegCutShortIsShownWithADamageNote)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "JPEG"));
    }
    const QString path = dir_.path() + QStringLiteral("/cut.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg.left(jpeg.size() / 2));
    file.close();

    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    pane.ShowFile(path);
    EXPECT_TRUE(pane.HasPicture());
    EXPECT_EQ(pane.Status(), PictureReader::Status::Damaged);
    EXPECT_EQ(pane.ImageGeometry(), FitPreview({400, 300}, {479, 282}));
    EXPECT_TRUE(pane.Message().startsWith("Damaged picture: only part of cut.jpg could be read"))
        << pane.Message().toStdString();
    // The note runs along the bottom, over the picture, not over all of it.
    const auto *message = pane.findChild<QLabel *>(QStringLiteral("PreviewMessage"));
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->geometry().bottom(), pane.rect().bottom());
    EXPECT_LT(message->height(), pane.height() / 2);
}

TEST_F(PreviewPaneTest, TheFileShownIsDecodedOnceUntilItChanges)
{
    PreviewPane pane;
    pane.resize(479, 282);
    QSignalSpy decoded(&pane, &PreviewPane::Decoded);
    const QString path = Write(QStringLiteral("p.bmp"), {80, 60}, "BMP");
    pane.ShowFile(path);
    pane.ShowFile(path);
    EXPECT_EQ(decoded.size(), 1);
    // Rewritten with another size: read again.
    QImage bigger(120, 90, QImage::Format_RGB32);
    bigger.fill(Qt::yellow);
    ASSERT_TRUE(bigger.save(path, "BMP"));
    pane.ShowFile(path);
    EXPECT_EQ(decoded.size(), 2);
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(120, 90));
    // A file that cannot be read is tried again each time: it may have come back.
    const QString missing = dir_.path() + QStringLiteral("/later.bmp");
    pane.ShowFile(missing);
    pane.ShowFile(missing);
    EXPECT_EQ(decoded.size(), 4);
}

}  // namespace
}  // namespace lumetta
