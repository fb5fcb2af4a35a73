// SPDX-License-Identifier: GPL-3.0-or-later
#include "damaged_data.h"
#include "media/gif_codec.h"
#include "support/picture_files.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

const QList<QRgb> kPalette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

GifFrame PatternFrame(int width, int height, int left = 0, int top = 0)
{
    GifFrame frame{left, top, width, height, {}, false, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.pixels.push_back((unsigned char)((x + 3 * y) % 4));
    return frame;
}

QRgb ExpectedColour(const GifFrame &frame, int x, int y)
{
    const int index = frame.pixels[size_t(y * frame.width + x)];
    return index == frame.transparent ? qRgba(0, 0, 0, 0) : kPalette[index];
}

// Qt's own GIF reader, an independent check of the files the tests make.
QImage ReadWithQt(const QByteArray &gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "gif").read().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

TEST(GifCodec, DecodesFirstFrameWithTransparencyAndInterlace)
{
    struct Case
    {
        const char *what;
        bool interlaced;
        int transparent;
        int height;
    };
    const Case cases[] = {{"plain", false, -1, 11},
                          {"transparent", false, 2, 11},
                          {"interlaced", true, -1, 19},
                          {"interlaced one row", true, -1, 1},
                          {"interlaced transparent", true, 0, 23}};
    for (const Case &c : cases) {
        GifFrame frame = PatternFrame(13, c.height);
        frame.interlaced = c.interlaced;
        frame.transparent = c.transparent;
        GifFrame second = PatternFrame(13, c.height);
        std::fill(second.pixels.begin(), second.pixels.end(), 3);
        const QByteArray gif = MakeGif(13, c.height, kPalette, {frame, second});

        const QImage image = DecodeGif(gif, "a.gif");
        ASSERT_EQ(image.size(), QSize(13, c.height)) << c.what;
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        const QImage qt = ReadWithQt(gif);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < 13; ++x) {
                EXPECT_EQ(image.pixel(x, y), ExpectedColour(frame, x, y)) << c.what << " at " << x << "," << y;
                if (c.transparent < 0) {
                    EXPECT_EQ(qt.pixel(x, y), ExpectedColour(frame, x, y)) << c.what << " (Qt) at " << x << "," << y;
                }
            }
        EXPECT_EQ(image.hasAlphaChannel(), c.transparent >= 0) << c.what;
    }
}

TEST(GifCodec, FrameSmallerThanScreenLeavesTheRestTransparent)
{
    const GifFrame frame = PatternFrame(4, 3, 5, 2);
    const QImage image = DecodeGif(MakeGif(12, 8, kPalette, {frame}), "small.gif");
    ASSERT_EQ(image.size(), QSize(12, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 5 && x < 9 && y >= 2 && y < 5;
            EXPECT_EQ(image.pixel(x, y), inside ? ExpectedColour(frame, x - 5, y - 2) : qRgba(0, 0, 0, 0))
                << x << "," << y;
        }
}

TEST(GifCodec, FramesAreClippedToTheScreen)
{
    struct Case
    {
        const char *what;
        int left, top, width, height;
    };
    const Case cases[] = {
        {"overhanging right and bottom", 9, 6, 5, 4},
        {"far outside", 3000, 40000, 3, 2},
        {"interlaced overhang", 10, 0, 4, 9},
    };
    for (const Case &c : cases) {
        GifFrame frame = PatternFrame(c.width, c.height, c.left, c.top);
        frame.interlaced = c.what[0] == 'i';
        const QImage image = DecodeGif(MakeGif(12, 8, kPalette, {frame}), "clip.gif");
        ASSERT_EQ(image.size(), QSize(12, 8)) << c.what;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool inside = x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
                ASSERT_EQ(image.pixel(x, y), inside ? ExpectedColour(frame, x - c.left, y - c.top) : qRgba(0, 0, 0, 0))
                    << c.what << " at " << x << "," << y;
            }
    }
}

TEST(GifCodec, WithoutAScreenSizeTheFrameGivesTheSize)
{
    const GifFrame frame = PatternFrame(5, 3, 7, 7);
    const QImage image = DecodeGif(MakeGif(0, 0, kPalette, {frame}), "noscreen.gif");
    ASSERT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.pixel(4, 2), ExpectedColour(frame, 4, 2));
}

TEST(GifCodec, IndicesBeyondThePaletteStayInsideTheColourTable)
{
    GifFrame frame = PatternFrame(4, 2);
    frame.pixels[0] = 3;  // a two-colour palette with an index 3 in the data
    const QImage image = DecodeGif(MakeGif(4, 2, {qRgb(9, 9, 9), qRgb(200, 200, 200)}, {frame}), "odd.gif");
    EXPECT_EQ(image.colorCount(), 256);
    EXPECT_EQ(image.pixelIndex(0, 0), 3);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(GifCodec, RoundTripKeepsPixelsColoursAndTransparency)
{
    for (int transparent : {-1, 1}) {
        GifFrame frame = PatternFrame(17, 9);
        frame.transparent = transparent;
        const QImage first = DecodeGif(MakeGif(17, 9, kPalette, {frame}), "r.gif");
        const QByteArray encoded = EncodeGif(first, "r.gif");
        ASSERT_TRUE(encoded.startsWith("GIF89a"));
        const QImage second = DecodeGif(encoded, "r.gif");
        ASSERT_EQ(second.size(), first.size());
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 17; ++x) {
                EXPECT_EQ(second.pixelIndex(x, y), first.pixelIndex(x, y));
                EXPECT_EQ(second.pixel(x, y), first.pixel(x, y));
            }
        EXPECT_EQ(ReadWithQt(encoded).pixel(1, 0), transparent == 1 ? qRgba(0, 0, 0, 0) : kPalette[1]);
    }
}

TEST(GifCodec, EncodesTrueColourImages)
{
    QImage image(6, 5, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(2, 3, qRgb(250, 250, 0));
    const QImage back = DecodeGif(EncodeGif(image, "c.gif"), "c.gif");
    ASSERT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixel(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(back.pixel(2, 3), qRgb(250, 250, 0));
}

TEST(GifCodec, RefusesDamagedData)
{
    const QByteArray gif = MakeGif(40, 30, kPalette, {PatternFrame(40, 30)});
    QByteArray hugeScreen = gif;
    hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = char(0xFF);
    QByteArray hugeFrame = MakeGif(1, 1, kPalette, {PatternFrame(1, 1)});
    const qsizetype descriptor = hugeFrame.indexOf(',');
    for (int i = 5; i < 9; ++i)
        hugeFrame[descriptor + i] = char(0xFF);
    const DamagedCase cases[] = {
        {"empty", QByteArray(), "empty"},
        {"signature only", gif.left(6), "screen descriptor"},
        {"cut in the pixels", gif.left(gif.size() - 12), "truncated"},
        {"cut before the frame", gif.left(13 + 12), "truncated"},
        {"no frame", MakeGif(5, 5, kPalette, {}), "no picture"},
        {"jpeg data", QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11), "GIF"},
        {"huge screen", hugeScreen, "too large"},
        {"huge frame on a small screen", hugeFrame, "truncated"},
    };
    ExpectRefused(DecodeGif, "bad.gif", cases);
}
