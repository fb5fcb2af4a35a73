// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture.h"
#include "media/picture_error.h"
#include "support/picture_files.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

QImage flat(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray gifBytes()
{
    GifFrame frame{0, 0, 3, 2, {0, 1, 1, 0, 1, 1}, false, 0};
    return makeGif(3, 2, {qRgb(0, 0, 0), qRgb(255, 0, 0)}, {frame});
}

}  // namespace

TEST(Picture, KindComesFromTheExtensionRegardlessOfCase)
{
    struct Case
    {
        const char *path;
        std::optional<PictureKind> kind;
    };
    const Case cases[] = {
        {"/a/b.bmp", PictureKind::Bmp}, {"/a/b.BMP", PictureKind::Bmp},  {"b.jpg", PictureKind::Jpeg},
        {"b.JPG", PictureKind::Jpeg},   {"b.jPeG", PictureKind::Jpeg},   {"b.jpeg", PictureKind::Jpeg},
        {"b.Gif", PictureKind::Gif},    {"x.tar.gif", PictureKind::Gif}, {"b.png", PictureKind::Png},
        {"b.PnG", PictureKind::Png},    {"b.webp", PictureKind::WebP},   {"b.TIF", PictureKind::Tiff},
        {"b.tiff", PictureKind::Tiff},  {"b.HEIC", PictureKind::Heif},   {"b.heif", PictureKind::Heif},
        {"b.avif", PictureKind::Heif},  {"b.jpe", std::nullopt},         {"jpg", std::nullopt},
        {"/d.jpg/b", std::nullopt},     {"b.jpg.txt", std::nullopt},     {"b.svg", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pictureKindOf(c.path), c.kind) << c.path;
}

TEST(Picture, LoadsEachKindFromFiles)
{
    const QString jpeg = writeTemp("photo.JPeG", makeJpeg(flat(40, 30, qRgb(10, 20, 30))));
    const QString gif = writeTemp("anim.GIF", gifBytes());
    const QString bmp = writeTemp("plain.Bmp", makeBmp(flat(5, 4, qRgb(1, 2, 3))));
    struct Case
    {
        QString path;
        PictureKind kind;
        QSize size;
    };
    const Case cases[] = {
        {jpeg, PictureKind::Jpeg, {40, 30}}, {gif, PictureKind::Gif, {3, 2}}, {bmp, PictureKind::Bmp, {5, 4}}};
    for (const Case &c : cases) {
        const Picture picture = Picture::load(c.path);
        EXPECT_EQ(picture.kind(), c.kind);
        EXPECT_EQ(picture.size(), c.size);
        EXPECT_EQ(picture.image().size(), c.size);
        EXPECT_EQ(picture.name(), c.path);
    }
}

TEST(Picture, JpegDecodesLazilyAtTheChosenScale)
{
    const QByteArray data = makeJpeg(flat(4000, 3000, qRgb(100, 150, 200)), 60);
    Picture picture = Picture::fromData(data, PictureKind::Jpeg, "big.jpg");
    EXPECT_FALSE(picture.isDecoded());
    EXPECT_EQ(picture.size(), QSize(4000, 3000));

    picture.setQuarterSize(true);
    EXPECT_EQ(picture.size(), QSize(1000, 750));
    EXPECT_FALSE(picture.isDecoded());
    picture.decodeNow();
    EXPECT_TRUE(picture.isDecoded());
    EXPECT_EQ(picture.image().size(), QSize(1000, 750));

    picture.setQuarterSize(false);
    EXPECT_FALSE(picture.isDecoded());
    EXPECT_EQ(picture.image().size(), QSize(4000, 3000));
    EXPECT_EQ(picture.originalData(), data);
    EXPECT_EQ(picture.toFileData(), data);
}

TEST(Picture, ScalingAJpegNotYetDecodedShrinksWhileDecoding)
{
    QImage source = flat(800, 600, qRgb(200, 40, 40));
    for (int y = 300; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            source.setPixel(x, y, qRgb(40, 40, 200));
    const Picture picture = Picture::fromData(makeJpeg(source), PictureKind::Jpeg, "s.jpg");
    for (QSize size : {QSize(300, 225), QSize(100, 75), QSize(800, 600), QSize(1000, 20)}) {
        const QImage scaled = picture.scaled(size);
        ASSERT_EQ(scaled.size(), size);
        EXPECT_NEAR(qRed(scaled.pixel(size.width() / 2, 1)), 200, 8) << size.width();
        EXPECT_NEAR(qBlue(scaled.pixel(size.width() / 2, size.height() - 2)), 200, 8) << size.width();
    }
    EXPECT_FALSE(picture.isDecoded());
}

TEST(Picture, QuarterSizeOnlyAppliesToJpeg)
{
    Picture picture = Picture::fromData(makeBmp(flat(8, 8, qRgb(0, 0, 0))), PictureKind::Bmp, "b.bmp");
    picture.setQuarterSize(true);
    EXPECT_FALSE(picture.isQuarterSize());
    EXPECT_EQ(picture.size(), QSize(8, 8));
}

TEST(Picture, FileDataReencodesBmpAndGif)
{
    const Picture gif = Picture::fromData(gifBytes(), PictureKind::Gif, "g.gif");
    const QByteArray gifData = gif.toFileData();
    EXPECT_TRUE(gifData.startsWith("GIF89a"));
    const Picture gifAgain = Picture::fromData(gifData, PictureKind::Gif, "again.gif");
    EXPECT_EQ(gifAgain.image().pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(gifAgain.image().pixel(1, 0), qRgb(255, 0, 0));

    const Picture bmp = Picture::fromData(makeBmp(flat(3, 3, qRgb(9, 8, 7))), PictureKind::Bmp, "b.bmp");
    const QByteArray bmpData = bmp.toFileData();
    EXPECT_TRUE(bmpData.startsWith("BM"));
    EXPECT_EQ(Picture::fromData(bmpData, PictureKind::Bmp, "x.bmp").image().pixel(2, 2), qRgb(9, 8, 7));

    const Picture jpeg = Picture::fromData(makeJpeg(flat(16, 16, qRgb(250, 0, 0))), PictureKind::Jpeg, "j.jpg");
    EXPECT_EQ(Picture::fromData(jpeg.toBmp(), PictureKind::Bmp, "j.bmp").size(), QSize(16, 16));
}

TEST(Picture, ScalesDecodedPicturesToAnySize)
{
    const Picture picture = Picture::fromData(makeBmp(flat(2, 2, qRgb(0, 0, 255))), PictureKind::Bmp, "b.bmp");
    for (QSize size : {QSize(7, 3), QSize(1, 1), QSize(2, 2), QSize(40, 9)}) {
        const QImage scaled = picture.scaled(size);
        ASSERT_EQ(scaled.size(), size);
        EXPECT_EQ(scaled.pixel(size.width() - 1, size.height() - 1), qRgb(0, 0, 255));
    }
}

TEST(Picture, LoadErrorsNameTheFileAndTheReason)
{
    const QByteArray jpeg = makeJpeg(flat(8, 8, qRgb(0, 0, 0)));
    const QString missing = writeTemp("gone.jpg", jpeg);
    QFile::remove(missing);
    struct Case
    {
        QString path;
        const char *reason;
    };
    const Case cases[] = {
        {missing, "does not exist"},
        {writeTemp("picture.svg", jpeg), "not a BMP, JPEG, GIF, PNG, WebP, TIFF, HEIC or AVIF"},
        {writeTemp("jpeg-named.png", jpeg), "not a PNG"},
        {writeTemp("jpeg-named.heic", jpeg), "HEIF error"},
        {writeTemp("jpeg-named.gif", jpeg), "GIF"},
        {writeTemp("jpeg-named.bmp", jpeg), "not a BMP"},
        {writeTemp("gif-named.jpg", gifBytes()), "Not a JPEG"},
        {writeTemp("empty.jpg", QByteArray()), "empty"},
        {writeTemp("cut.gif", gifBytes().left(20)), "truncated"},
    };
    for (const Case &c : cases) {
        try {
            Picture::load(c.path);
            ADD_FAILURE() << c.path.toStdString() << " loaded";
        } catch (const PictureError &e) {
            EXPECT_EQ(e.file(), c.path);
            EXPECT_TRUE(e.message().contains(c.path));
            EXPECT_TRUE(e.reason().contains(c.reason)) << c.path.toStdString() << ": " << e.reason().toStdString();
        }
    }
}

TEST(Picture, TruncatedJpegFailsWhenDecoded)
{
    QImage noise(128, 128, QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    const QByteArray jpeg = makeJpeg(noise);
    const Picture picture = Picture::load(writeTemp("half.jpg", jpeg.left(jpeg.size() / 2)));
    try {
        picture.decodeNow();
        FAIL() << "decoded";
    } catch (const PictureError &e) {
        EXPECT_TRUE(e.reason().contains("Premature end")) << e.reason().toStdString();
        EXPECT_TRUE(e.message().contains("half.jpg"));
    }
    EXPECT_FALSE(picture.isDecoded());
}
