// SPDX-License-Identifier: GPL-3.0-or-later
#include "damaged_data.h"
#include "media/bmp_codec.h"
#include "support/picture_files.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

namespace {

QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 2 ? 255 : 0));
    return image;
}

// A 24-bit BMP written by hand: rows of 3 bytes per pixel padded to 4, bottom-up unless
// `topDown` (negative height).
QByteArray HandMade24(const QImage &image, bool topDown)
{
    const int stride = (image.width() * 3 + 3) / 4 * 4;
    QByteArray data(54 + stride * image.height(), '\0');
    auto *bytes = reinterpret_cast<uchar *>(data.data());
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(quint32(data.size()), bytes + 2);
    qToLittleEndian<quint32>(54, bytes + 10);
    qToLittleEndian<quint32>(40, bytes + 14);
    qToLittleEndian<qint32>(image.width(), bytes + 18);
    qToLittleEndian<qint32>(topDown ? -image.height() : image.height(), bytes + 22);
    qToLittleEndian<quint16>(1, bytes + 26);
    qToLittleEndian<quint16>(24, bytes + 28);
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = bytes + 54 + stride * (topDown ? y : image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            row[x * 3] = uchar(qBlue(p));
            row[x * 3 + 1] = uchar(qGreen(p));
            row[x * 3 + 2] = uchar(qRed(p));
        }
    }
    return data;
}

// A BMP with a 40-byte info header; `extra` (masks or palette) follows it, then `pixels`.
QByteArray HandMade(int width, int height, int bits, int compression, const QByteArray &extra, const QByteArray &pixels)
{
    QByteArray data(54, '\0');
    auto *bytes = reinterpret_cast<uchar *>(data.data());
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + extra.size() + pixels.size()), bytes + 2);
    qToLittleEndian<quint32>(quint32(54 + extra.size()), bytes + 10);
    qToLittleEndian<quint32>(40, bytes + 14);
    qToLittleEndian<qint32>(width, bytes + 18);
    qToLittleEndian<qint32>(height, bytes + 22);
    qToLittleEndian<quint16>(1, bytes + 26);
    qToLittleEndian<quint16>(quint16(bits), bytes + 28);
    qToLittleEndian<quint32>(quint32(compression), bytes + 30);
    qToLittleEndian<quint32>(quint32(pixels.size()), bytes + 34);
    if (bits <= 8)
        qToLittleEndian<quint32>(quint32(extra.size() / 4), bytes + 46);  // colours in the palette
    return data + extra + pixels;
}

QByteArray Le32(std::initializer_list<quint32> values)
{
    QByteArray out;
    for (quint32 v : values) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    }
    return out;
}

// 4 x 2, 8-bit run-length encoded: bottom row four of colour 1, top row four of colour 0.
QByteArray Rle8()
{
    const QByteArray palette = Le32({0x00102030, 0x00C0B0A0});
    return HandMade(4, 2, 8, 1, palette, QByteArray("\x04\x01\x00\x00\x04\x00\x00\x01", 8));
}

// 2 x 1, 32 bits with explicit red, green and blue masks.
QByteArray Bitfields32()
{
    return HandMade(2, 1, 32, 3, Le32({0x00FF0000, 0x0000FF00, 0x000000FF}), Le32({0x00112233, 0x00AABBCC}));
}

void ExpectSamePixels(const QImage &actual, const QImage &expected, const char *what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << what << " at " << x << "," << y;
}

}  // namespace

TEST(BmpCodec, ReadsCommonVariants)
{
    const QImage source = Pattern(13, 7);
    QImage twoColours(9, 5, QImage::Format_RGB32);
    twoColours.fill(Qt::white);
    twoColours.setPixel(3, 2, qRgb(0, 0, 0));
    const QImage mono = twoColours.convertToFormat(QImage::Format_Mono);
    QImage indexed(11, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50), qRgb(7, 250, 9)});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 11; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));

    struct Case
    {
        const char *what;
        QByteArray data;
        QImage expected;
    };
    const Case cases[] = {
        {"24-bit bottom-up", HandMade24(source, false), source}, {"24-bit top-down", HandMade24(source, true), source},
        {"written by Qt, 24-bit", MakeBmp(source), source},      {"written by Qt, 1-bit", MakeBmp(mono), twoColours},
        {"written by Qt, 8-bit", MakeBmp(indexed), indexed},
    };
    for (const Case &c : cases)
        ExpectSamePixels(DecodeBmp(c.data, "a.bmp"), c.expected, c.what);

    const QImage rle = DecodeBmp(Rle8(), "rle.bmp");
    ASSERT_EQ(rle.size(), QSize(4, 2));
    EXPECT_EQ(rle.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(rle.pixel(3, 1), qRgb(0xC0, 0xB0, 0xA0));
    const QImage masked = DecodeBmp(Bitfields32(), "bits.bmp");
    ASSERT_EQ(masked.size(), QSize(2, 1));
    EXPECT_EQ(masked.pixel(0, 0) & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(masked.pixel(1, 0) & 0xFFFFFF, 0xAABBCCu);
}

TEST(BmpCodec, WritesACompleteFileThatReadsBack)
{
    const QImage source = Pattern(10, 6);
    const QByteArray file = EncodeBmp(source, "w.bmp");
    ASSERT_TRUE(file.startsWith("BM"));
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes + 2), quint32(file.size()));
    ExpectSamePixels(DecodeBmp(file, "w.bmp"), source, "round trip");
}

TEST(BmpCodec, RefusesDamagedData)
{
    const QByteArray good = HandMade24(Pattern(20, 10), false);
    QByteArray huge = good;
    qToLittleEndian<qint32>(100000, reinterpret_cast<uchar *>(huge.data()) + 18);
    qToLittleEndian<qint32>(100000, reinterpret_cast<uchar *>(huge.data()) + 22);
    // Found by fuzzing: extreme sizes and bit depth once overflowed the pixel-data length.
    QByteArray extreme = good;
    qToLittleEndian<qint32>(0x7fffffff, reinterpret_cast<uchar *>(extreme.data()) + 18);
    qToLittleEndian<qint32>(-0x7fffffff, reinterpret_cast<uchar *>(extreme.data()) + 22);
    qToLittleEndian<quint16>(0xffff, reinterpret_cast<uchar *>(extreme.data()) + 28);
    const DamagedCase cases[] = {
        {"empty", QByteArray(), "empty"},
        {"header only", good.left(20), "not a BMP"},
        {"cut in the pixels", good.left(good.size() - 7), "truncated"},
        {"cut after the headers", good.left(54), "truncated"},
        {"run-length data cut", Rle8().chopped(3), "truncated"},
        {"bit-field pixels cut", Bitfields32().chopped(1), "truncated"},
        {"gif data", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13), "not a BMP"},
        {"huge", huge, "too large"},
        {"extreme sizes and depth", extreme, "too large"},
    };
    ExpectRefused(DecodeBmp, "bad.bmp", cases);
}
