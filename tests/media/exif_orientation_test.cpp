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

const QByteArray &PlainJpeg()
{
    static const QByteArray kJpeg = MakeJpeg(NoisePicture(48, 32, 3), 90);
    return kJpeg;
}

QByteArray TiffBlock(const QByteArray &body)
{
    return QByteArray("Exif\0\0", 6) + body;
}

}  // namespace

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders)
{
    for (const bool bigEndian : {false, true}) {
        for (int value = 1; value <= 8; ++value) {
            const QByteArray block = MakeExifBlock(value, bigEndian);
            EXPECT_EQ(JpegExifOrientation(WithJpegApp1(PlainJpeg(), block)), value) << value << " " << bigEndian;
            EXPECT_EQ(PngExifOrientation(WithPngExif(MakeQtPicture(NoisePicture(6, 4, 1), "png"), block)), value);
            EXPECT_EQ(WebpExifOrientation(WithWebpExif(MakeQtPicture(NoisePicture(6, 4, 1), "webp"), block)), value);
        }
    }
}

TEST(ExifOrientation, PicturesWithoutTheTagAreUpright)
{
    EXPECT_EQ(JpegExifOrientation(PlainJpeg()), 1);
    EXPECT_EQ(PngExifOrientation(MakeQtPicture(NoisePicture(6, 4, 1), "png")), 1);
    EXPECT_EQ(WebpExifOrientation(MakeQtPicture(NoisePicture(6, 4, 1), "webp")), 1);
    EXPECT_EQ(JpegExifOrientation(QByteArray()), 1);
    EXPECT_EQ(PngExifOrientation(QByteArray("\x89PNG")), 1);
    EXPECT_EQ(WebpExifOrientation(QByteArray("RIFF")), 1);
}

TEST(ExifOrientation, DamagedBlocksReadAsUprightAndThePictureStillLoads)
{
    const QByteArray good = MakeExifBlock(6);
    QByteArray farOffset = TiffBlock(QByteArray("II*\0", 4) + QByteArray(4, '\0'));
    qToLittleEndian<quint32>(0xFFFFFFF0u, farOffset.data() + 10);
    QByteArray manyEntries =
        TiffBlock(QByteArray("MM\0*\0\0\0\x08", 8) + QByteArray("\xFF\xFF", 2) + QByteArray(20, '\x12'));
    struct Case
    {
        const char *what;
        QByteArray block;
    };
    const Case cases[] = {
        {"garbage", TiffBlock(QByteArray(200, '\xA5'))},
        {"cut in half", good.left(good.size() / 2)},
        {"header only", QByteArray("Exif\0\0", 6)},
        {"IFD beyond the block", farOffset},
        {"more entries than bytes", manyEntries},
        {"value 0", MakeExifBlock(0)},
        {"value 9", MakeExifBlock(9)},
        {"value 300", MakeExifBlock(300, true)},
    };
    for (const Case &c : cases) {
        const QByteArray jpeg = WithJpegApp1(PlainJpeg(), c.block);
        EXPECT_EQ(JpegExifOrientation(jpeg), 1) << c.what;
        const Picture picture = Picture::FromData(jpeg, PictureKind::Jpeg, "damaged.jpg");
        EXPECT_EQ(picture.size(), QSize(48, 32)) << c.what;
        EXPECT_EQ(picture.Image().size(), QSize(48, 32)) << c.what;
        EXPECT_EQ(PngExifOrientation(WithPngExif(MakeQtPicture(NoisePicture(6, 4, 1), "png"), c.block)), 1) << c.what;
    }
}

TEST(ExifOrientation, ChunksRunningPastTheEndAreIgnored)
{
    QByteArray png = WithPngExif(MakeQtPicture(NoisePicture(6, 4, 1), "png"), MakeExifBlock(6));
    qToBigEndian<quint32>(0x7FFFFFFFu, png.data() + 33);
    EXPECT_EQ(PngExifOrientation(png), 1);
    QByteArray webp = WithWebpExif(MakeQtPicture(NoisePicture(6, 4, 1), "webp"), MakeExifBlock(6));
    qToLittleEndian<quint32>(0xFFFFFFF0u, webp.data() + 16);
    EXPECT_EQ(WebpExifOrientation(webp), 1);
}

TEST(ExifOrientation, JpegPicturesComeOutUprightAtEveryScale)
{
    const QByteArray stored = MakeJpeg(NoisePicture(67, 35, 11), 92);
    for (int value = 1; value <= 8; ++value) {
        const QByteArray tagged = WithJpegApp1(stored, MakeExifBlock(value));
        Picture picture = Picture::FromData(tagged, PictureKind::Jpeg, "turned.jpg");
        EXPECT_EQ(picture.Orientation(), value);
        const QSize upright = value >= 5 ? QSize(35, 67) : QSize(67, 35);
        EXPECT_EQ(picture.size(), upright) << value;
        EXPECT_EQ(StoredForOrientation(picture.Image(), value), DecodeJpeg(stored, 1, "plain.jpg")) << value;

        picture.SetQuarterSize(true);
        EXPECT_EQ(picture.size(), value >= 5 ? QSize(9, 17) : QSize(17, 9)) << value;
        EXPECT_EQ(StoredForOrientation(picture.Image(), value), DecodeJpeg(stored, 4, "plain.jpg")) << value;

        // Shrunk while decoding: 1/2 covers a target of half the upright size.
        const Picture fresh = Picture::FromData(tagged, PictureKind::Jpeg, "turned.jpg");
        const QImage half = fresh.Scaled(QSize((upright.width() + 1) / 2, (upright.height() + 1) / 2));
        EXPECT_EQ(StoredForOrientation(half, value), DecodeJpeg(stored, 2, "plain.jpg")) << value;
        EXPECT_EQ(fresh.ToFileData(), tagged);
    }
}
