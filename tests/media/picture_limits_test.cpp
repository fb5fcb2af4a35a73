// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile sizes through the loader: headers that declare more pixels than the limit, GIF frames
// and extensions of absurd sizes. Each is refused with a message or read in constant memory.

#include "media/picture.h"
#include "media/picture_error.h"
#include "support/picture_files.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

const QList<QRgb> kPalette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
// Header, logical screen descriptor and a four-entry global palette.
constexpr qsizetype kGifPrologue = 6 + 7 + 3 * 4;

GifFrame DiagonalFrame()
{
    GifFrame frame{0, 0, 4, 4, {}, false, -1};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            frame.pixels.push_back(x == y ? 1 : 3);
    return frame;
}

QByteArray SmallGif()
{
    return MakeGif(4, 4, kPalette, {DiagonalFrame()});
}

QByteArray WithBeforeFrame(const QByteArray &extension)
{
    QByteArray gif = SmallGif();
    gif.insert(kGifPrologue, extension);
    return gif;
}

// A comment extension of `blocks` full sub-blocks.
QByteArray LongComment(int blocks)
{
    QByteArray block(256, 'c');
    block[0] = char(255);
    return QByteArray("\x21\xFE") + block.repeated(blocks) + QByteArray(1, '\0');
}

void SetGifFrame(QByteArray &gif, int left, int width, int height)
{
    auto *descriptor = reinterpret_cast<uchar *>(gif.data()) + gif.indexOf(',', kGifPrologue);
    qToLittleEndian<quint16>(quint16(left), descriptor + 1);
    qToLittleEndian<quint16>(quint16(width), descriptor + 5);
    qToLittleEndian<quint16>(quint16(height), descriptor + 7);
}

QByteArray GifWithScreen(int width, int height)
{
    QByteArray gif = SmallGif();
    qToLittleEndian<quint16>(quint16(width), reinterpret_cast<uchar *>(gif.data()) + 6);
    qToLittleEndian<quint16>(quint16(height), reinterpret_cast<uchar *>(gif.data()) + 8);
    return gif;
}

QByteArray GifWithFrame(int left, int width, int height)
{
    QByteArray gif = SmallGif();
    SetGifFrame(gif, left, width, height);
    return gif;
}

QByteArray BmpOfSize(int width, int height)
{
    QByteArray bmp = MakeBmp(QImage(2, 2, QImage::Format_RGB32));
    qToLittleEndian<qint32>(width, reinterpret_cast<uchar *>(bmp.data()) + 18);
    qToLittleEndian<qint32>(height, reinterpret_cast<uchar *>(bmp.data()) + 22);
    return bmp;
}

QByteArray JpegOfSize(int width, int height)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray jpeg = MakeJpeg(image);
    const qsizetype at = JpegSofHeightOffset(jpeg);
    PutBigEndian16(jpeg, at, height);
    PutBigEndian16(jpeg, at + 2, width);
    return jpeg;
}

TEST(PictureLimits, HostileFilesAreRefusedWithAReason)
{
    const QString tooLarge = "the picture is too large";
    const struct
    {
        const char *name;
        QByteArray data;
        QString reason;
    } cases[] = {
        // One row more than 2^28 pixels; the file holds almost nothing.
        {"tall.bmp", BmpOfSize(16384, 16385), tooLarge},
        {"tall.jpg", JpegOfSize(16384, 16385), tooLarge},
        {"wide.jpg", JpegOfSize(65500, 4099), tooLarge},
        {"tall.gif", GifWithScreen(16384, 16385), tooLarge},
        {"wide.gif", GifWithScreen(65535, 4097), tooLarge},
        // A huge frame on a small screen: the few bytes of a 4 x 4 frame run out in its first row.
        {"huge-frame.gif", GifWithFrame(0, 65535, 65535), "the file is truncated"},
        // A sub-block that claims more bytes than the file has left.
        {"cut-extension.gif", SmallGif().left(kGifPrologue) + "\x21\xFE\xFF" + QByteArray(10, 'c'),
         "the file is truncated"},
    };
    for (const auto &c : cases) {
        const QString path = WriteTemp(c.name, c.data);
        try {
            Picture::Load(path).DecodeNow();
            ADD_FAILURE() << c.name << " was read";
        } catch (const PictureError &error) {
            EXPECT_EQ(error.File(), path);
            EXPECT_TRUE(error.Reason().startsWith(c.reason)) << c.name << ": " << error.Reason().toStdString();
        }
    }
}

TEST(PictureLimits, GifExtensionsOfAnySizeAreSkipped)
{
    const QImage expected =
        Picture::Load(WriteTemp("plain.gif", SmallGif())).Image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(expected.pixel(1, 1), kPalette[1]);
    QByteArray badControl("\x21\xF9\xFF");  // graphics control block of 255 bytes, not 4
    badControl += QByteArray(255, '\x01') + QByteArray(1, '\0');
    const struct
    {
        const char *name;
        QByteArray data;
    } cases[] = {
        {"long-comment.gif", WithBeforeFrame(LongComment(4000))},
        {"many-extensions.gif", WithBeforeFrame(QByteArray("\x21\xFE\x00", 3).repeated(100'000))},
        {"bad-control.gif", WithBeforeFrame(badControl)},
    };
    for (const auto &c : cases) {
        const Picture picture = Picture::Load(WriteTemp(c.name, c.data));
        EXPECT_EQ(picture.Image().convertToFormat(QImage::Format_ARGB32), expected) << c.name;
    }
}

TEST(PictureLimits, AGifFrameFarOutsideItsScreenLeavesTheScreenSize)
{
    for (const QByteArray &gif : {GifWithFrame(60000, 60000, 4000), GifWithFrame(65535, 65535, 65535)})
        EXPECT_EQ(Picture::Load(WriteTemp("far.gif", gif)).size(), QSize(4, 4));
}

}  // namespace
