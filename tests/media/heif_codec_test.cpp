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

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

void expectQuadrants(const QImage &image, const std::string &what)
{
    const int w = image.width(), h = image.height();
    EXPECT_LE(channelDistance(image.pixel(w / 4, h / 4), qRgb(255, 0, 0)), 32) << what;
    EXPECT_LE(channelDistance(image.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0)), 32) << what;
    EXPECT_LE(channelDistance(image.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255)), 32) << what;
    EXPECT_LE(channelDistance(image.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255)), 32) << what;
}

const QByteArray &heic()
{
    static const QByteArray data = makeHeif(quadrantPicture(64, 48), false);
    return data;
}

}  // namespace

TEST(HeifCodec, DecodesHeicAndAvif)
{
    for (const bool avif : {false, true}) {
        const QByteArray data = avif ? makeHeif(quadrantPicture(64, 48), true) : heic();
        EXPECT_EQ(readHeifSize(data, "p"), QSize(64, 48));
        const QImage image = decodeHeif(data, "p");
        EXPECT_EQ(image.size(), QSize(64, 48));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        expectQuadrants(image, avif ? "avif" : "heic");
    }
}

TEST(HeifCodec, RecordedRotationAndMirroringComeOutUpright)
{
    const QImage upright = quadrantPicture(64, 48);
    for (int value = 1; value <= 8; ++value) {
        const QImage stored = storedForOrientation(upright, value);
        for (const bool avif : {false, true}) {
            const QByteArray data = makeHeif(stored, avif, value);
            const Picture picture = Picture::fromData(data, PictureKind::Heif, avif ? "turned.avif" : "turned.heic");
            const std::string what = std::string(avif ? "avif " : "heic ") + std::to_string(value);
            EXPECT_EQ(picture.size(), QSize(64, 48)) << what;
            EXPECT_FALSE(picture.isDecoded());
            EXPECT_EQ(picture.image().size(), QSize(64, 48)) << what;
            expectQuadrants(picture.image(), what);
            EXPECT_EQ(picture.toFileData(), data);
        }
    }
}

TEST(HeifCodec, DamagedFilesAreRefusedWithTheReason)
{
    const QByteArray avif = makeHeif(quadrantPicture(64, 48), true);
    QByteArray scrambledBoxes = heic();
    for (qsizetype i = 24; i < 200 && i < scrambledBoxes.size(); ++i)
        scrambledBoxes[i] = char(0xFF);
    const DamagedCase cases[] = {
        {"empty", QByteArray(), "empty"},
        {"a JPEG", makeJpeg(quadrantPicture(16, 16)), "HEIF error"},
        {"header only", heic().left(24), "HEIF error"},
        {"cut in the coded data", heic().left(heic().size() - 40), "HEIF error"},
        {"scrambled boxes", scrambledBoxes, "HEIF error"},
        {"AVIF header only", avif.left(32), "HEIF error"},
        {"AVIF cut in the coded data", avif.left(avif.size() - 40), "HEIF error"},
    };
    testpictures::expectRefused(decodeHeif, "bad.heic", cases);
}

TEST(HeifCodec, SizesOverTheLimitAreRefused)
{
    // libheif refuses an image whose 'ispe' box declares more than our limit allows; the box
    // holds width and height as 32-bit big-endian values after its version and flags.
    QByteArray data = heic();
    const qsizetype ispe = data.indexOf("ispe");
    ASSERT_GT(ispe, 0);
    const char huge[] = {0, 0, 0x4E, 0x20};  // 20000
    data.replace(ispe + 8, 4, huge, 4);
    data.replace(ispe + 12, 4, huge, 4);
    try {
        readHeifSize(data, "huge.heic");
        FAIL() << "read";
    } catch (const PictureError &e) {
        EXPECT_EQ(e.file(), "huge.heic");
        EXPECT_FALSE(e.reason().isEmpty());
    }
}
