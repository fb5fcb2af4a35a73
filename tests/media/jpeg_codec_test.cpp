// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/jpeg_codec.h"
#include "media/picture_error.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

// Four flat 16 x 16 quadrants, so JPEG blocks hold single colours and decode nearly exactly.
QImage Quadrants(int width = 32, int height = 32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           x < width / 2 ? (y < height / 2 ? qRgb(220, 30, 30) : qRgb(30, 200, 40))
                                         : (y < height / 2 ? qRgb(20, 40, 210) : qRgb(240, 240, 240)));
    return image;
}

void ExpectNear(QRgb actual, QRgb expected, int tolerance, const char *where)
{
    EXPECT_NEAR(qRed(actual), qRed(expected), tolerance) << where;
    EXPECT_NEAR(qGreen(actual), qGreen(expected), tolerance) << where;
    EXPECT_NEAR(qBlue(actual), qBlue(expected), tolerance) << where;
}

}  // namespace

TEST(JpegCodec, DecodesColoursAtFullSize)
{
    const QImage source = Quadrants();
    for (bool progressive : {false, true}) {
        const QImage image = DecodeJpeg(MakeJpeg(source, 98, progressive), 1, "a.jpg");
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        for (QPoint p : {QPoint(4, 4), QPoint(28, 4), QPoint(4, 28), QPoint(28, 28)})
            ExpectNear(image.pixel(p), source.pixel(p), 6, progressive ? "progressive" : "baseline");
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);
    }
}

TEST(JpegCodec, QuarterSizeRoundsUpLikeLibjpeg)
{
    struct Case
    {
        int width, height, quarterWidth, quarterHeight;
    };
    const Case cases[] = {{4000, 3000, 1000, 750}, {1001, 7, 251, 2}, {3, 1, 1, 1}, {16, 9, 4, 3}};
    for (const Case &c : cases) {
        QImage source(c.width, c.height, QImage::Format_RGB32);
        source.fill(qRgb(90, 120, 150));
        const QByteArray jpeg = MakeJpeg(source, 75);
        const QSize full = ReadJpegSize(jpeg, "q.jpg");
        EXPECT_EQ(full, QSize(c.width, c.height));
        EXPECT_EQ(JpegScaledSize(full, 4), QSize(c.quarterWidth, c.quarterHeight));
        // The predicted sizes are what libjpeg really produces.
        for (int denominator : {1, 2, 4, 8}) {
            const QImage scaled = DecodeJpeg(jpeg, denominator, "q.jpg");
            EXPECT_EQ(scaled.size(), JpegScaledSize(full, denominator))
                << c.width << "x" << c.height << " / " << denominator;
            ExpectNear(scaled.pixel(0, 0), qRgb(90, 120, 150), 4, "scaled colour");
        }
    }
}

TEST(JpegCodec, DenominatorCoveringATarget)
{
    struct Case
    {
        QSize full, target;
        int smallest, denominator;
    };
    const Case cases[] = {
        {{6000, 4000}, {1620, 1080}, 1, 2},  // 3000 x 2000 covers it, 1500 x 1000 does not
        {{6000, 4000}, {1500, 1000}, 1, 4}, {{6000, 4000}, {750, 500}, 1, 8},
        {{6000, 4000}, {751, 400}, 1, 4},   {{6000, 4000}, {7000, 10}, 1, 1},  // larger than the picture: full size
        {{6000, 4000}, {2000, 1500}, 4, 4},  // a quarter-size picture never decodes larger
        {{6001, 4001}, {751, 501}, 1, 8},  // 6001 / 8 rounds up to 751
    };
    for (const Case &c : cases)
        EXPECT_EQ(JpegDenominatorCovering(c.full, c.target, c.smallest), c.denominator)
            << c.full.width() << "x" << c.full.height() << " to " << c.target.width() << "x" << c.target.height();
    EXPECT_THROW(DecodeJpeg(MakeJpeg(Quadrants()), 3, "odd.jpg"), PictureError);
}

TEST(JpegCodec, GreyAndAdobeCmykBecomeRgb)
{
    const QImage source = Quadrants();
    const QImage grey = DecodeJpeg(MakeJpeg(source, 98, false, JpegColours::Grey), 1, "g.jpg");
    const int level = qGray(source.pixel(4, 4));
    ExpectNear(grey.pixel(4, 4), qRgb(level, level, level), 4, "grey");

    // Adobe CMYK is stored inverted: stored C = 220 with K = 255 reads as red 220.
    const QImage cmyk = DecodeJpeg(MakeJpeg(source, 98, false, JpegColours::AdobeCmyk), 1, "c.jpg");
    for (QPoint p : {QPoint(4, 4), QPoint(28, 28)})
        ExpectNear(cmyk.pixel(p), source.pixel(p), 6, "cmyk");
}

TEST(JpegCodec, RefusesDamagedData)
{
    const QByteArray jpeg = MakeJpeg(Quadrants(64, 64), 90);
    QByteArray badPrecision = jpeg;
    badPrecision[JpegSofHeightOffset(jpeg) - 1] = 3;
    struct Case
    {
        const char *what;
        QByteArray data;
        bool headerReadable;
    };
    const Case cases[] = {
        {"empty", QByteArray(), false},
        {"header cut", jpeg.left(40), false},
        {"bad precision", badPrecision, false},
        {"data cut", jpeg.left(jpeg.size() * 2 / 3), true},
        {"no end marker", jpeg.left(jpeg.size() - 2), true},
        {"gif data", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13), false},
        {"text", QByteArray("hello, this is not a picture at all"), false},
    };
    for (const Case &c : cases) {
        if (!c.headerReadable) {
            EXPECT_THROW(ReadJpegSize(c.data, "bad.jpg"), PictureError) << c.what;
        }
        try {
            DecodeJpeg(c.data, 1, "bad.jpg");
            ADD_FAILURE() << c.what << " decoded";
        } catch (const PictureError &e) {
            EXPECT_EQ(e.File(), "bad.jpg") << c.what;
            EXPECT_FALSE(e.Reason().isEmpty()) << c.what;
        }
    }
}

TEST(JpegCodec, RefusesDeclaredSizesOverTheLimit)
{
    QByteArray jpeg = MakeJpeg(Quadrants(16, 16), 90);
    const qsizetype at = JpegSofHeightOffset(jpeg);
    // 65000 x 65000 is about 4.2e9 pixels, far over 2^28; 16384 x 16385 just over it.
    for (auto [height, width] : {std::pair{65000, 65000}, std::pair{16385, 16384}}) {
        PutBigEndian16(jpeg, at, height);
        PutBigEndian16(jpeg, at + 2, width);
        try {
            ReadJpegSize(jpeg, "huge.jpg");
            FAIL() << "accepted " << width << "x" << height;
        } catch (const PictureError &e) {
            EXPECT_TRUE(e.Reason().contains("too large")) << e.Reason().toStdString();
        }
        EXPECT_THROW(DecodeJpeg(jpeg, 4, "huge.jpg"), PictureError);
    }
}

namespace {

// A valid progressive JPEG of three components with every AC coefficient sent in its own
// scans, each refined bit by bit: 3 DC scans plus 3 x 63 x (refinements + 1) AC scans.
QByteArray ManyScanJpeg(int refinements)
{
    std::vector<jpeg_scan_info> scans;
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 2});
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 2, 1});
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 1, 0});
    for (int component = 0; component < 3; ++component)
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {component, 0, 0, 0}, k, k, 0, refinements});
            for (int bit = refinements; bit > 0; --bit)
                scans.push_back({1, {component, 0, 0, 0}, k, k, bit, bit - 1});
        }
    return MakeJpegWithScans(Quadrants(16, 16), scans);
}

}  // namespace

TEST(JpegCodec, RefusesFilesWithAbsurdlyManyScans)
{
    // 3 + 189 x 2 = 381 scans decode; 3 + 189 x 6 = 1137 exceed the limit of 1000.
    EXPECT_EQ(DecodeJpeg(ManyScanJpeg(1), 1, "scans.jpg").size(), QSize(16, 16));
    try {
        DecodeJpeg(ManyScanJpeg(5), 1, "scans.jpg");
        FAIL() << "decoded";
    } catch (const PictureError &e) {
        EXPECT_TRUE(e.Reason().contains("scans")) << e.Reason().toStdString();
    }
}
