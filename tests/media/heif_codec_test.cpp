// SPDX-License-Identifier: GPL-3.0-or-later
#include "damaged_data.h"
#include "media/heif_codec.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

void ExpectQuadrants(const QImage &image, const std::string &what)
{
    const int w = image.width(), h = image.height();
    EXPECT_LE(ChannelDistance(image.pixel(w / 4, h / 4), qRgb(255, 0, 0)), 32) << what;
    EXPECT_LE(ChannelDistance(image.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0)), 32) << what;
    EXPECT_LE(ChannelDistance(image.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255)), 32) << what;
    EXPECT_LE(ChannelDistance(image.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255)), 32) << what;
}

const QByteArray &Heic()
{
    static const QByteArray kData = MakeHeif(QuadrantPicture(64, 48), false);
    return kData;
}

}  // namespace

TEST(HeifCodec, DecodesHeicAndAvif)
{
    for (const bool avif : {false, true}) {
        const QByteArray data = avif ? MakeHeif(QuadrantPicture(64, 48), true) : Heic();
        EXPECT_EQ(ReadHeifSize(data, "p"), QSize(64, 48));
        const QImage image = DecodeHeif(data, "p");
        EXPECT_EQ(image.size(), QSize(64, 48));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        ExpectQuadrants(image, avif ? "avif" : "heic");
    }
}

TEST(HeifCodec, RecordedRotationAndMirroringComeOutUpright)
{
    const QImage upright = QuadrantPicture(64, 48);
    for (int value = 1; value <= 8; ++value) {
        const QImage stored = StoredForOrientation(upright, value);
        for (const bool avif : {false, true}) {
            const QByteArray data = MakeHeif(stored, avif, value);
            const Picture picture = Picture::FromData(data, PictureKind::Heif, avif ? "turned.avif" : "turned.heic");
            const std::string what = std::string(avif ? "avif " : "heic ") + std::to_string(value);
            EXPECT_EQ(picture.size(), QSize(64, 48)) << what;
            EXPECT_FALSE(picture.IsDecoded());
            EXPECT_EQ(picture.Image().size(), QSize(64, 48)) << what;
            ExpectQuadrants(picture.Image(), what);
            EXPECT_EQ(picture.ToFileData(), data);
        }
    }
}

TEST(HeifCodec, DamagedFilesAreRefusedWithTheReason)
{
    const QByteArray avif = MakeHeif(QuadrantPicture(64, 48), true);
    QByteArray scrambledBoxes = Heic();
    for (qsizetype i = 24; i < 200 && i < scrambledBoxes.size(); ++i)
        scrambledBoxes[i] = char(0xFF);
    const DamagedCase cases[] = {
        {"empty", QByteArray(), "empty"},
        {"a JPEG", MakeJpeg(QuadrantPicture(16, 16)), "HEIF error"},
        {"header only", Heic().left(24), "HEIF error"},
        {"cut in the coded data", Heic().left(Heic().size() - 40), "HEIF error"},
        {"scrambled boxes", scrambledBoxes, "HEIF error"},
        {"AVIF header only", avif.left(32), "HEIF error"},
        {"AVIF cut in the coded data", avif.left(avif.size() - 40), "HEIF error"},
    };
    testpictures::ExpectRefused(DecodeHeif, "bad.heic", cases);
}

TEST(HeifCodec, SizesOverTheLimitAreRefused)
{
    // libheif refuses an image whose 'ispe' box declares more than our limit allows; the box
    // holds width and height as 32-bit big-endian values after its version and flags.
    QByteArray data = Heic();
    const qsizetype ispe = data.indexOf("ispe");
    ASSERT_GT(ispe, 0);
    const char huge[] = {0, 0, 0x4E, 0x20};  // 20000
    data.replace(ispe + 8, 4, huge, 4);
    data.replace(ispe + 12, 4, huge, 4);
    try {
        ReadHeifSize(data, "huge.heic");
        FAIL() << "read";
    } catch (const PictureError &e) {
        EXPECT_EQ(e.File(), "huge.heic");
        EXPECT_FALSE(e.Reason().isEmpty());
    }
}
