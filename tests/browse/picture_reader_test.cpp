// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/picture_reader.h"

#include "media/jpeg_codec.h"
#include "support/file_bytes.h"
#include "support/picture_files.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

using Status = PictureReader::Status;

// Red above, blue below: what survives of a file cut short is its upper part.
QImage TwoBands(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(220, 20, 20));
    for (int y = height / 2; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(20, 20, 220));
    return image;
}

class PictureReaderTest : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        testfiles::WriteBytes(path, bytes);
        return path;
    }

    QTemporaryDir dir_;
};

TEST(PictureReaderFit, KeepsProportionsNeverEnlargesAndKeepsOnePixel)
{
    const struct
    {
        QSize picture;
        QSize bound;
        QSize fitted;
    } cases[] = {
        {{6000, 4000}, {96, 72}, {96, 64}}, {{4000, 6000}, {96, 72}, {48, 72}}, {{40, 30}, {96, 72}, {40, 30}},
        {{10000, 10}, {96, 72}, {96, 1}},   {{300, 300}, {96, 72}, {72, 72}},   {{0, 10}, {96, 72}, {1, 1}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PictureReader::FitInside(c.picture, c.bound), c.fitted)
            << c.picture.width() << "x" << c.picture.height();
}

TEST_F(PictureReaderTest, AThumbnailOfALargeJpegIsItsEighthScaleDecodeScaledDown)
{
    const QByteArray jpeg = testpictures::MakeJpeg(testpictures::NoisePicture(1600, 1200, 7), 90);
    const PictureReader::Result result = PictureReader::ForThumbnail(Write("big.jpg", jpeg), QSize(96, 72));
    ASSERT_EQ(result.status, Status::Ok) << result.reason.toStdString();
    EXPECT_EQ(result.image.size(), QSize(96, 72));
    // The same pixels as libjpeg's 1/8 DCT scaling (200 x 150) smoothed to the thumbnail: no
    // full decode is made.
    const QImage eighth = DecodeJpeg(jpeg, 8, QStringLiteral("big.jpg"));
    ASSERT_EQ(eighth.size(), QSize(200, 150));
    EXPECT_EQ(result.image, eighth.scaled(96, 72, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

TEST_F(PictureReaderTest, MissingUnreadableAndFineFiles)
{
    QImage small(20, 10, QImage::Format_RGB32);
    small.fill(Qt::green);
    const struct
    {
        QString path;
        Status status;
        const char *reason;
    } cases[] = {
        {dir_.filePath("gone.jpg"), Status::Missing, "the file does not exist"},
        {Write("junk.jpg", "not a jpeg at all"), Status::Unreadable, "JPEG error"},
        {Write("empty.gif", ""), Status::Unreadable, "empty"},
        {Write("fine.bmp", testpictures::MakeBmp(small)), Status::Ok, ""},
    };
    for (const auto &c : cases) {
        for (const PictureReader::Result &result :
             {PictureReader::ForThumbnail(c.path, QSize(48, 36)), PictureReader::ForPreview(c.path)}) {
            EXPECT_EQ(result.status, c.status) << c.path.toStdString();
            EXPECT_TRUE(result.reason.contains(QLatin1String(c.reason))) << result.reason.toStdString();
            EXPECT_EQ(result.reason.isEmpty(), c.status == Status::Ok) << c.path.toStdString();
        }
    }
}

TEST_F(PictureReaderTest, AJpegCutShortShowsItsUpperPartAsDamaged)
{
    const QByteArray whole = testpictures::MakeJpeg(TwoBands(256, 256), 90);
    for (bool progressive : {false, true}) {
        const QByteArray jpeg = progressive ? testpictures::MakeJpeg(TwoBands(256, 256), 90, true) : whole;
        const QString path = Write("cut.jpg", jpeg.left(jpeg.size() * 3 / 4));
        const PictureReader::Result preview = PictureReader::ForPreview(path);
        ASSERT_EQ(preview.status, Status::Damaged) << progressive;
        EXPECT_TRUE(preview.reason.contains("Premature end")) << preview.reason.toStdString();
        const QImage &image = preview.picture.Image();
        ASSERT_EQ(image.size(), QSize(256, 256));
        const QColor top = image.pixelColor(128, 10);
        EXPECT_GT(top.red(), 180) << progressive;
        EXPECT_LT(top.blue(), 70) << progressive;

        const PictureReader::Result thumbnail = PictureReader::ForThumbnail(path, QSize(32, 32));
        EXPECT_EQ(thumbnail.status, Status::Damaged);
        EXPECT_EQ(thumbnail.image.size(), QSize(32, 32));
    }
    // The whole file is sound.
    EXPECT_EQ(PictureReader::ForPreview(Write("whole.jpg", whole)).status, Status::Ok);
}

}  // namespace
}  // namespace lumetta
