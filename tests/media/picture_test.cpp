// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture.h"
#include "media/picture_error.h"
#include "support/picture_files.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

QImage Flat(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray GifBytes()
{
    GifFrame frame{0, 0, 3, 2, {0, 1, 1, 0, 1, 1}, false, 0};
    return MakeGif(3, 2, {qRgb(0, 0, 0), qRgb(255, 0, 0)}, {frame});
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
        EXPECT_EQ(PictureKindOf(c.path), c.kind) << c.path;
}

TEST(Picture, LoadsEachKindFromFiles)
{
    const QString jpeg = WriteTemp("photo.JPeG", MakeJpeg(Flat(40, 30, qRgb(10, 20, 30))));
    const QString gif = WriteTemp("anim.GIF", GifBytes());
    const QString bmp = WriteTemp("plain.Bmp", MakeBmp(Flat(5, 4, qRgb(1, 2, 3))));
    struct Case
    {
        QString path;
        PictureKind kind;
        QSize size;
    };
    const Case cases[] = {
        {jpeg, PictureKind::Jpeg, {40, 30}}, {gif, PictureKind::Gif, {3, 2}}, {bmp, PictureKind::Bmp, {5, 4}}};
    for (const Case &c : cases) {
        const Picture picture = Picture::Load(c.path);
        EXPECT_EQ(picture.Kind(), c.kind);
        EXPECT_EQ(picture.size(), c.size);
        EXPECT_EQ(picture.Image().size(), c.size);
        EXPECT_EQ(picture.Name(), c.path);
    }
}

TEST(Picture, JpegDecodesLazilyAtTheChosenScale)
{
    const QByteArray data = MakeJpeg(Flat(4000, 3000, qRgb(100, 150, 200)), 60);
    Picture picture = Picture::FromData(data, PictureKind::Jpeg, "big.jpg");
    EXPECT_FALSE(picture.IsDecoded());
    EXPECT_EQ(picture.size(), QSize(4000, 3000));

    picture.SetQuarterSize(true);
    EXPECT_EQ(picture.size(), QSize(1000, 750));
    EXPECT_FALSE(picture.IsDecoded());
    picture.DecodeNow();
    EXPECT_TRUE(picture.IsDecoded());
    EXPECT_EQ(picture.Image().size(), QSize(1000, 750));

    picture.SetQuarterSize(false);
    EXPECT_FALSE(picture.IsDecoded());
    EXPECT_EQ(picture.Image().size(), QSize(4000, 3000));
    EXPECT_EQ(picture.OriginalData(), data);
    EXPECT_EQ(picture.ToFileData(), data);
}

TEST(Picture, ScalingAJpegNotYetDecodedShrinksWhileDecoding)
{
    QImage source = Flat(800, 600, qRgb(200, 40, 40));
    for (int y = 300; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            source.setPixel(x, y, qRgb(40, 40, 200));
    const Picture picture = Picture::FromData(MakeJpeg(source), PictureKind::Jpeg, "s.jpg");
    for (QSize size : {QSize(300, 225), QSize(100, 75), QSize(800, 600), QSize(1000, 20)}) {
        const QImage scaled = picture.Scaled(size);
        ASSERT_EQ(scaled.size(), size);
        EXPECT_NEAR(qRed(scaled.pixel(size.width() / 2, 1)), 200, 8) << size.width();
        EXPECT_NEAR(qBlue(scaled.pixel(size.width() / 2, size.height() - 2)), 200, 8) << size.width();
    }
    EXPECT_FALSE(picture.IsDecoded());
}

TEST(Picture, QuarterSizeOnlyAppliesToJpeg)
{
    Picture picture = Picture::FromData(MakeBmp(Flat(8, 8, qRgb(0, 0, 0))), PictureKind::Bmp, "b.bmp");
    picture.SetQuarterSize(true);
    EXPECT_FALSE(picture.IsQuarterSize());
    EXPECT_EQ(picture.size(), QSize(8, 8));
}

TEST(Picture, FileDataReencodesBmpAndGif)
{
    const Picture gif = Picture::FromData(GifBytes(), PictureKind::Gif, "g.gif");
    const QByteArray gifData = gif.ToFileData();
    EXPECT_TRUE(gifData.startsWith("GIF89a"));
    const Picture gifAgain = Picture::FromData(gifData, PictureKind::Gif, "again.gif");
    EXPECT_EQ(gifAgain.Image().pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(gifAgain.Image().pixel(1, 0), qRgb(255, 0, 0));

    const Picture bmp = Picture::FromData(MakeBmp(Flat(3, 3, qRgb(9, 8, 7))), PictureKind::Bmp, "b.bmp");
    const QByteArray bmpData = bmp.ToFileData();
    EXPECT_TRUE(bmpData.startsWith("BM"));
    EXPECT_EQ(Picture::FromData(bmpData, PictureKind::Bmp, "x.bmp").Image().pixel(2, 2), qRgb(9, 8, 7));

    const Picture jpeg = Picture::FromData(MakeJpeg(Flat(16, 16, qRgb(250, 0, 0))), PictureKind::Jpeg, "j.jpg");
    EXPECT_EQ(Picture::FromData(jpeg.ToBmp(), PictureKind::Bmp, "j.bmp").size(), QSize(16, 16));
}

TEST(Picture, ScalesDecodedPicturesToAnySize)
{
    const Picture picture = Picture::FromData(MakeBmp(Flat(2, 2, qRgb(0, 0, 255))), PictureKind::Bmp, "b.bmp");
    for (QSize size : {QSize(7, 3), QSize(1, 1), QSize(2, 2), QSize(40, 9)}) {
        const QImage scaled = picture.Scaled(size);
        ASSERT_EQ(scaled.size(), size);
        EXPECT_EQ(scaled.pixel(size.width() - 1, size.height() - 1), qRgb(0, 0, 255));
    }
}

TEST(Picture, LoadErrorsNameTheFileAndTheReason)
{
    const QByteArray jpeg = MakeJpeg(Flat(8, 8, qRgb(0, 0, 0)));
    const QString missing = WriteTemp("gone.jpg", jpeg);
    QFile::remove(missing);
    struct Case
    {
        QString path;
        const char *reason;
    };
    const Case cases[] = {
        {missing, "does not exist"},
        {WriteTemp("picture.svg", jpeg), "not a BMP, JPEG, GIF, PNG, WebP, TIFF, HEIC or AVIF"},
        {WriteTemp("jpeg-named.png", jpeg), "not a PNG"},
        {WriteTemp("jpeg-named.heic", jpeg), "HEIF error"},
        {WriteTemp("jpeg-named.gif", jpeg), "GIF"},
        {WriteTemp("jpeg-named.bmp", jpeg), "not a BMP"},
        {WriteTemp("gif-named.jpg", GifBytes()), "Not a JPEG"},
        {WriteTemp("empty.jpg", QByteArray()), "empty"},
        {WriteTemp("cut.gif", GifBytes().left(20)), "truncated"},
    };
    for (const Case &c : cases) {
        try {
            Picture::Load(c.path);
            ADD_FAILURE() << c.path.toStdString() << " loaded";
        } catch (const PictureError &e) {
            EXPECT_EQ(e.File(), c.path);
            EXPECT_TRUE(e.Message().contains(c.path));
            EXPECT_TRUE(e.Reason().contains(c.reason)) << c.path.toStdString() << ": " << e.Reason().toStdString();
        }
    }
}

TEST(Picture, TruncatedJpegFailsWhenDecoded)
{
    QImage noise(128, 128, QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    const QByteArray jpeg = MakeJpeg(noise);
    const Picture picture = Picture::Load(WriteTemp("half.jpg", jpeg.left(jpeg.size() / 2)));
    try {
        picture.DecodeNow();
        FAIL() << "decoded";
    } catch (const PictureError &e) {
        EXPECT_TRUE(e.Reason().contains("Premature end")) << e.Reason().toStdString();
        EXPECT_TRUE(e.Message().contains("half.jpg"));
    }
    EXPECT_FALSE(picture.IsDecoded());
}
