// SPDX-License-Identifier: GPL-3.0-or-later
#include "damaged_data.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "media/qt_image_codec.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

using namespace lumetta;
using namespace testpictures;

namespace {

struct Format
{
    QtImageFormat format;
    const char *plugin;
    PictureKind kind;
    bool lossless;
};
const Format kFormats[] = {{QtImageFormat::Png, "png", PictureKind::Png, true},
                           {QtImageFormat::WebP, "webp", PictureKind::WebP, false},
                           {QtImageFormat::Tiff, "tiff", PictureKind::Tiff, true}};

int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Each quadrant's centre has its colour.
void ExpectQuadrants(const QImage &image, const char *what)
{
    const int w = image.width(), h = image.height();
    EXPECT_LE(ChannelDistance(image.pixel(w / 4, h / 4), qRgb(255, 0, 0)), 24) << what;
    EXPECT_LE(ChannelDistance(image.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0)), 24) << what;
    EXPECT_LE(ChannelDistance(image.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255)), 24) << what;
    EXPECT_LE(ChannelDistance(image.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255)), 24) << what;
}

QImage DecodePng(const QByteArray &data, const QString &file)
{
    return DecodeQtImage(data, QtImageFormat::Png, file);
}

QImage DecodeWebP(const QByteArray &data, const QString &file)
{
    return DecodeQtImage(data, QtImageFormat::WebP, file);
}

QImage DecodeTiff(const QByteArray &data, const QString &file)
{
    return DecodeQtImage(data, QtImageFormat::Tiff, file);
}

}  // namespace

TEST(QtImageCodec, DecodesEachFormatAsStored)
{
    const QImage noise = NoisePicture(31, 17, 5);
    for (const Format &f : kFormats) {
        const QByteArray data = MakeQtPicture(noise, f.plugin);
        const QtImageHeader header = ReadQtImageHeader(data, f.format, "p");
        EXPECT_EQ(header.size, QSize(31, 17)) << f.plugin;
        EXPECT_EQ(header.orientation, 1) << f.plugin;
        const QImage decoded = DecodeQtImage(data, f.format, "p");
        EXPECT_EQ(decoded.format(), QImage::Format_RGB32) << f.plugin;
        if (f.lossless)
            EXPECT_EQ(decoded, noise) << f.plugin;
        ExpectQuadrants(DecodeQtImage(MakeQtPicture(QuadrantPicture(64, 48), f.plugin), f.format, "q"), f.plugin);
    }
}

TEST(QtImageCodec, KeepsAlpha)
{
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    clear.setPixel(1, 1, qRgba(255, 0, 0, 255));
    const QImage decoded = DecodeQtImage(MakeQtPicture(clear, "png"), QtImageFormat::Png, "a.png");
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(decoded.pixel(1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 0);
}

TEST(QtImageCodec, EveryOrientationComesOutUpright)
{
    const QImage upright = QuadrantPicture(64, 48);
    for (int value = 1; value <= 8; ++value) {
        const QImage stored = StoredForOrientation(upright, value);
        const QByteArray block = MakeExifBlock(value);
        struct Case
        {
            const char *what;
            QByteArray data;
            PictureKind kind;
        };
        const Case cases[] = {
            {"png", WithPngExif(MakeQtPicture(stored, "png"), block), PictureKind::Png},
            {"webp", WithWebpExif(MakeQtPicture(stored, "webp"), block), PictureKind::WebP},
            {"tiff", MakeQtPicture(stored, "tiff", value), PictureKind::Tiff},
        };
        for (const Case &c : cases) {
            const Picture picture = Picture::FromData(c.data, c.kind, c.what);
            EXPECT_EQ(picture.Orientation(), value) << c.what;
            EXPECT_EQ(picture.size(), QSize(64, 48)) << c.what << " " << value;
            EXPECT_EQ(picture.Image().size(), QSize(64, 48)) << c.what << " " << value;
            if (c.kind != PictureKind::WebP)
                EXPECT_EQ(picture.Image(), upright) << c.what << " " << value;
            ExpectQuadrants(picture.Image(), c.what);
            EXPECT_EQ(picture.ToFileData(), c.data) << c.what;
        }
    }
}

TEST(QtImageCodec, DamagedFilesAreRefusedWithTheReason)
{
    const QImage noise = NoisePicture(60, 40, 9);
    const QByteArray png = MakeQtPicture(noise, "png");
    const QByteArray webp = MakeQtPicture(noise, "webp");
    const QByteArray tiff = MakeQtPicture(noise, "tiff");
    QByteArray badFilter = png;
    for (qsizetype i = png.size() / 2; i < png.size() / 2 + 40; ++i)
        badFilter[i] = char(i * 7);

    const DamagedCase pngCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a JPEG", MakeJpeg(noise), "not a PNG"},
        {"signature only", png.left(8), "PNG error"},
        {"cut in the data", png.left(png.size() * 9 / 10), "PNG error"},
        {"cut after the header", png.left(40), "PNG error"},
        {"scrambled data", badFilter, "PNG error"},
    };
    ExpectRefused(DecodePng, "bad.png", pngCases);
    const DamagedCase webpCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a PNG", png, "not a WebP"},
        {"cut in the data", webp.left(webp.size() / 2), "WebP error"},
        {"RIFF header only", webp.left(12), "WebP error"},
    };
    ExpectRefused(DecodeWebP, "bad.webp", webpCases);
    const DamagedCase tiffCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a PNG", png, "not a TIFF"},
        {"cut before the directory", tiff.left(tiff.size() / 2), "TIFF error"},
    };
    ExpectRefused(DecodeTiff, "bad.tif", tiffCases);
}

TEST(QtImageCodec, OversizedHeadersAreRefusedBeforeDecoding)
{
    // A PNG header declaring 20000 x 20000 pixels (4e8, over the limit), with a valid CRC.
    QByteArray png = MakeQtPicture(NoisePicture(4, 4, 1), "png");
    qToBigEndian<quint32>(20000, png.data() + 16);
    qToBigEndian<quint32>(20000, png.data() + 20);
    const QByteArray ihdr = png.mid(12, 17);
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(ihdr.constData()), uInt(ihdr.size()))),
                          png.data() + 29);
    const DamagedCase cases[] = {{"20000 x 20000", png, "too large"}};
    ExpectRefused(DecodePng, "huge.png", cases);
    EXPECT_THROW(Picture::FromData(png, PictureKind::Png, "huge.png"), PictureError);
}
