// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/exif_orientation.h"
#include "media/jpeg_codec.h"
#include "media/picture.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

const QByteArray &plainJpeg()
{
    static const QByteArray jpeg = makeJpeg(noisePicture(48, 32, 3), 90);
    return jpeg;
}

QByteArray tiffBlock(const QByteArray &body)
{
    return QByteArray("Exif\0\0", 6) + body;
}

}  // namespace

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders)
{
    for (const bool bigEndian : {false, true}) {
        for (int value = 1; value <= 8; ++value) {
            const QByteArray block = makeExifBlock(value, bigEndian);
            EXPECT_EQ(jpegExifOrientation(withJpegApp1(plainJpeg(), block)), value) << value << " " << bigEndian;
            EXPECT_EQ(pngExifOrientation(withPngExif(makeQtPicture(noisePicture(6, 4, 1), "png"), block)), value);
            EXPECT_EQ(webpExifOrientation(withWebpExif(makeQtPicture(noisePicture(6, 4, 1), "webp"), block)), value);
        }
    }
}

TEST(ExifOrientation, PicturesWithoutTheTagAreUpright)
{
    EXPECT_EQ(jpegExifOrientation(plainJpeg()), 1);
    EXPECT_EQ(pngExifOrientation(makeQtPicture(noisePicture(6, 4, 1), "png")), 1);
    EXPECT_EQ(webpExifOrientation(makeQtPicture(noisePicture(6, 4, 1), "webp")), 1);
    EXPECT_EQ(jpegExifOrientation(QByteArray()), 1);
    EXPECT_EQ(pngExifOrientation(QByteArray("\x89PNG")), 1);
    EXPECT_EQ(webpExifOrientation(QByteArray("RIFF")), 1);
}

TEST(ExifOrientation, DamagedBlocksReadAsUprightAndThePictureStillLoads)
{
    const QByteArray good = makeExifBlock(6);
    QByteArray farOffset = tiffBlock(QByteArray("II*\0", 4) + QByteArray(4, '\0'));
    qToLittleEndian<quint32>(0xFFFFFFF0u, farOffset.data() + 10);
    QByteArray manyEntries =
        tiffBlock(QByteArray("MM\0*\0\0\0\x08", 8) + QByteArray("\xFF\xFF", 2) + QByteArray(20, '\x12'));
    struct Case
    {
        const char *what;
        QByteArray block;
    };
    const Case cases[] = {
        {"garbage", tiffBlock(QByteArray(200, '\xA5'))},
        {"cut in half", good.left(good.size() / 2)},
        {"header only", QByteArray("Exif\0\0", 6)},
        {"IFD beyond the block", farOffset},
        {"more entries than bytes", manyEntries},
        {"value 0", makeExifBlock(0)},
        {"value 9", makeExifBlock(9)},
        {"value 300", makeExifBlock(300, true)},
    };
    for (const Case &c : cases) {
        const QByteArray jpeg = withJpegApp1(plainJpeg(), c.block);
        EXPECT_EQ(jpegExifOrientation(jpeg), 1) << c.what;
        const Picture picture = Picture::fromData(jpeg, PictureKind::Jpeg, "damaged.jpg");
        EXPECT_EQ(picture.size(), QSize(48, 32)) << c.what;
        EXPECT_EQ(picture.image().size(), QSize(48, 32)) << c.what;
        EXPECT_EQ(pngExifOrientation(withPngExif(makeQtPicture(noisePicture(6, 4, 1), "png"), c.block)), 1) << c.what;
    }
}

TEST(ExifOrientation, ChunksRunningPastTheEndAreIgnored)
{
    QByteArray png = withPngExif(makeQtPicture(noisePicture(6, 4, 1), "png"), makeExifBlock(6));
    qToBigEndian<quint32>(0x7FFFFFFFu, png.data() + 33);
    EXPECT_EQ(pngExifOrientation(png), 1);
    QByteArray webp = withWebpExif(makeQtPicture(noisePicture(6, 4, 1), "webp"), makeExifBlock(6));
    qToLittleEndian<quint32>(0xFFFFFFF0u, webp.data() + 16);
    EXPECT_EQ(webpExifOrientation(webp), 1);
}

TEST(ExifOrientation, JpegPicturesComeOutUprightAtEveryScale)
{
    const QByteArray stored = makeJpeg(noisePicture(67, 35, 11), 92);
    for (int value = 1; value <= 8; ++value) {
        const QByteArray tagged = withJpegApp1(stored, makeExifBlock(value));
        Picture picture = Picture::fromData(tagged, PictureKind::Jpeg, "turned.jpg");
        EXPECT_EQ(picture.orientation(), value);
        const QSize upright = value >= 5 ? QSize(35, 67) : QSize(67, 35);
        EXPECT_EQ(picture.size(), upright) << value;
        EXPECT_EQ(storedForOrientation(picture.image(), value), decodeJpeg(stored, 1, "plain.jpg")) << value;

        picture.setQuarterSize(true);
        EXPECT_EQ(picture.size(), value >= 5 ? QSize(9, 17) : QSize(17, 9)) << value;
        EXPECT_EQ(storedForOrientation(picture.image(), value), decodeJpeg(stored, 4, "plain.jpg")) << value;

        // Shrunk while decoding: 1/2 covers a target of half the upright size.
        const Picture fresh = Picture::fromData(tagged, PictureKind::Jpeg, "turned.jpg");
        const QImage half = fresh.scaled(QSize((upright.width() + 1) / 2, (upright.height() + 1) / 2));
        EXPECT_EQ(storedForOrientation(half, value), decodeJpeg(stored, 2, "plain.jpg")) << value;
        EXPECT_EQ(fresh.toFileData(), tagged);
    }
}
