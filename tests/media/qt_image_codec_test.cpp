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

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Each quadrant's centre has its colour.
void expectQuadrants(const QImage &image, const char *what)
{
    const int w = image.width(), h = image.height();
    EXPECT_LE(channelDistance(image.pixel(w / 4, h / 4), qRgb(255, 0, 0)), 24) << what;
    EXPECT_LE(channelDistance(image.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0)), 24) << what;
    EXPECT_LE(channelDistance(image.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255)), 24) << what;
    EXPECT_LE(channelDistance(image.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255)), 24) << what;
}

QImage decodePng(const QByteArray &data, const QString &file)
{
    return decodeQtImage(data, QtImageFormat::Png, file);
}

QImage decodeWebP(const QByteArray &data, const QString &file)
{
    return decodeQtImage(data, QtImageFormat::WebP, file);
}

QImage decodeTiff(const QByteArray &data, const QString &file)
{
    return decodeQtImage(data, QtImageFormat::Tiff, file);
}

}  // namespace

TEST(QtImageCodec, DecodesEachFormatAsStored)
{
    const QImage noise = noisePicture(31, 17, 5);
    for (const Format &f : kFormats) {
        const QByteArray data = makeQtPicture(noise, f.plugin);
        const QtImageHeader header = readQtImageHeader(data, f.format, "p");
        EXPECT_EQ(header.size, QSize(31, 17)) << f.plugin;
        EXPECT_EQ(header.orientation, 1) << f.plugin;
        const QImage decoded = decodeQtImage(data, f.format, "p");
        EXPECT_EQ(decoded.format(), QImage::Format_RGB32) << f.plugin;
        if (f.lossless)
            EXPECT_EQ(decoded, noise) << f.plugin;
        expectQuadrants(decodeQtImage(makeQtPicture(quadrantPicture(64, 48), f.plugin), f.format, "q"), f.plugin);
    }
}

TEST(QtImageCodec, KeepsAlpha)
{
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    clear.setPixel(1, 1, qRgba(255, 0, 0, 255));
    const QImage decoded = decodeQtImage(makeQtPicture(clear, "png"), QtImageFormat::Png, "a.png");
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(decoded.pixel(1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 0);
}

TEST(QtImageCodec, EveryOrientationComesOutUpright)
{
    const QImage upright = quadrantPicture(64, 48);
    for (int value = 1; value <= 8; ++value) {
        const QImage stored = storedForOrientation(upright, value);
        const QByteArray block = makeExifBlock(value);
        struct Case
        {
            const char *what;
            QByteArray data;
            PictureKind kind;
        };
        const Case cases[] = {
            {"png", withPngExif(makeQtPicture(stored, "png"), block), PictureKind::Png},
            {"webp", withWebpExif(makeQtPicture(stored, "webp"), block), PictureKind::WebP},
            {"tiff", makeQtPicture(stored, "tiff", value), PictureKind::Tiff},
        };
        for (const Case &c : cases) {
            const Picture picture = Picture::fromData(c.data, c.kind, c.what);
            EXPECT_EQ(picture.orientation(), value) << c.what;
            EXPECT_EQ(picture.size(), QSize(64, 48)) << c.what << " " << value;
            EXPECT_EQ(picture.image().size(), QSize(64, 48)) << c.what << " " << value;
            if (c.kind != PictureKind::WebP)
                EXPECT_EQ(picture.image(), upright) << c.what << " " << value;
            expectQuadrants(picture.image(), c.what);
            EXPECT_EQ(picture.toFileData(), c.data) << c.what;
        }
    }
}

TEST(QtImageCodec, DamagedFilesAreRefusedWithTheReason)
{
    const QImage noise = noisePicture(60, 40, 9);
    const QByteArray png = makeQtPicture(noise, "png");
    const QByteArray webp = makeQtPicture(noise, "webp");
    const QByteArray tiff = makeQtPicture(noise, "tiff");
    QByteArray badFilter = png;
    for (qsizetype i = png.size() / 2; i < png.size() / 2 + 40; ++i)
        badFilter[i] = char(i * 7);

    const DamagedCase pngCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a JPEG", makeJpeg(noise), "not a PNG"},
        {"signature only", png.left(8), "PNG error"},
        {"cut in the data", png.left(png.size() * 9 / 10), "PNG error"},
        {"cut after the header", png.left(40), "PNG error"},
        {"scrambled data", badFilter, "PNG error"},
    };
    expectRefused(decodePng, "bad.png", pngCases);
    const DamagedCase webpCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a PNG", png, "not a WebP"},
        {"cut in the data", webp.left(webp.size() / 2), "WebP error"},
        {"RIFF header only", webp.left(12), "WebP error"},
    };
    expectRefused(decodeWebP, "bad.webp", webpCases);
    const DamagedCase tiffCases[] = {
        {"empty", QByteArray(), "empty"},
        {"a PNG", png, "not a TIFF"},
        {"cut before the directory", tiff.left(tiff.size() / 2), "TIFF error"},
    };
    expectRefused(decodeTiff, "bad.tif", tiffCases);
}

TEST(QtImageCodec, OversizedHeadersAreRefusedBeforeDecoding)
{
    // A PNG header declaring 20000 x 20000 pixels (4e8, over the limit), with a valid CRC.
    QByteArray png = makeQtPicture(noisePicture(4, 4, 1), "png");
    qToBigEndian<quint32>(20000, png.data() + 16);
    qToBigEndian<quint32>(20000, png.data() + 20);
    const QByteArray ihdr = png.mid(12, 17);
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(ihdr.constData()), uInt(ihdr.size()))),
                          png.data() + 29);
    const DamagedCase cases[] = {{"20000 x 20000", png, "too large"}};
    expectRefused(decodePng, "huge.png", cases);
    EXPECT_THROW(Picture::fromData(png, PictureKind::Png, "huge.png"), PictureError);
}
