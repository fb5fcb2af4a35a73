// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture.h"
#include "media/picture_error.h"
#include "media/picture_header.h"
#include "support/picture_files.h"
#include "support/process_io.h"
#include "support/qstring_print.h"

#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace lumetta {
namespace {

constexpr qint64 kGiB = qint64(1) << 30;

// A file of SIZE bytes that begins with START and holds zeros after it, made up as it is read
// (no memory taken), which counts the bytes read from it.
class MadeUpFile : public QIODevice
{
public:
    MadeUpFile(QByteArray start, qint64 size) : start_(std::move(start)), size_(size)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }
    qint64 BytesRead() const { return read_; }

protected:
    qint64 readData(char *data, qint64 maximum) override
    {
        const qint64 count = std::min(maximum, size_ - pos());
        for (qint64 i = 0; i < count; ++i)
            data[i] = pos() + i < start_.size() ? start_[pos() + i] : '\0';
        read_ += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray start_;
    qint64 size_;
    qint64 read_ = 0;
};

QByteArray Le16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

QByteArray Le32(qint64 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(quint32(value), bytes.data());
    return bytes;
}

QByteArray Be32(qint64 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian<quint32>(quint32(value), bytes.data());
    return bytes;
}

QByteArray PngStart(qint64 width, qint64 height)
{
    return QByteArray("\x89PNG\r\n\x1A\n") + Be32(13) + "IHDR" + Be32(width) + Be32(height) + "\x08\x02";
}

QByteArray BmpStart(qint64 width, qint64 height)
{
    return "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(24) + Le32(0)
           + Le32(0);
}

QByteArray WebpStart(qint64 width, qint64 height)
{
    QByteArray start = "RIFF" + Le32(0) + "WEBPVP8X" + Le32(10) + Le32(0);
    start += Le32(width - 1).left(3);
    start += Le32(height - 1).left(3);
    return start;
}

// A frame header 30,000 pixels square behind a 60,000-byte EXIF segment: found by seeking over
// the segment, not by reading it.
QByteArray JpegStart()
{
    QByteArray start("\xFF\xD8\xFF\xE1\xEA\x60", 6);
    start += QByteArray(60000 - 2, 'e');
    start += QByteArray("\xFF\xC0\x00\x11\x08\x75\x30\x75\x30", 9);
    return start;
}

PictureKind KindNamed(const QString &name)
{
    return PictureKindOf(name).value();
}

// Reading stops at the header: a gigabyte file whose first bytes cannot start a picture of its
// kind, or that declare far more pixels than any decoder takes, is refused after a few bytes.
TEST(PictureHeader, RefusesABadStartBeforeReadingTheRest)
{
    const QByteArray zeros(64, '\0');
    const struct
    {
        const char *name;
        QByteArray start;
        const char *reason;
    } cases[] = {
        {"zeros.jpg", zeros, "JPEG error: Not a JPEG file: starts with 0x00 0x00"},
        {"zeros.png", zeros, "not a PNG file"},
        {"zeros.gif", zeros, "not a GIF file"},
        {"zeros.bmp", zeros, "not a BMP file"},
        {"zeros.webp", zeros, "not a WebP file"},
        {"zeros.tif", zeros, "not a TIFF file"},
        {"zeros.heic", zeros, "HEIF error: not a HEIF file"},
        {"huge.png", PngStart(100000, 100000), "the picture is too large (100000 x 100000 pixels"},
        {"huge.gif", "GIF89a" + Le16(65535) + Le16(65535), "the picture is too large (65535 x 65535 pixels"},
        {"huge.bmp", BmpStart(100000, -100000), "the picture is too large (100000 x 100000 pixels"},
        {"huge.webp", WebpStart(30000, 20000), "the picture is too large (30000 x 20000 pixels"},
        {"huge.jpg", JpegStart(), "the picture is too large (30000 x 30000 pixels"},
    };
    for (const auto &c : cases) {
        const QString name = QLatin1String(c.name);
        MadeUpFile file(c.start, kGiB);
        try {
            Picture::Read(file, file.size(), KindNamed(name), name);
            ADD_FAILURE() << c.name << " was read";
        } catch (const PictureError &error) {
            EXPECT_TRUE(error.Reason().startsWith(QLatin1String(c.reason))) << error.Reason().toStdString();
        }
        EXPECT_LE(file.BytesRead(), 128) << c.name;
    }
}

TEST(PictureHeader, AnEmptyFileIsRefusedAsEmpty)
{
    MadeUpFile file(QByteArray(), 0);
    try {
        Picture::Read(file, 0, PictureKind::Png, QStringLiteral("empty.png"));
        ADD_FAILURE() << "an empty file was read";
    } catch (const PictureError &error) {
        EXPECT_EQ(error.Reason(), QStringLiteral("the file is empty"));
    }
}

// A BMP says where its pixels end: what follows them is never read.
TEST(PictureHeader, AnUncompressedBmpIsReadOnlyToTheEndOfItsPixels)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    const QByteArray bmp = testpictures::MakeBmp(image);
    MadeUpFile file(bmp, kGiB);
    const PictureHeader header = PictureHeader::Read(file, kGiB, PictureKind::Bmp, QStringLiteral("a.bmp"));
    EXPECT_EQ(header.NeededBytes(), bmp.size());
    MadeUpFile again(bmp, kGiB);
    const Picture picture = Picture::Read(again, kGiB, PictureKind::Bmp, QStringLiteral("a.bmp"));
    EXPECT_EQ(picture.Image().pixel(2, 1), qRgb(10, 200, 30));
    EXPECT_EQ(again.BytesRead(), bmp.size());
}

// Every kind reads on to the end after its header: the whole file reaches the decoder.
TEST(PictureHeader, GoodFilesReadWhole)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 250));
    QByteArray exif = QByteArray("\xFF\xD8\xFF\xE1\x00\x10", 6) + QByteArray(14, 'x');
    QByteArray jpeg = testpictures::MakeJpeg(image);
    jpeg = exif + jpeg.mid(2);
    for (const QByteArray &data : {testpictures::MakeJpeg(image), jpeg}) {
        MadeUpFile file(data, data.size());
        const Picture picture = Picture::Read(file, data.size(), PictureKind::Jpeg, QStringLiteral("a.jpg"));
        EXPECT_EQ(picture.size(), QSize(16, 8));
        // The walk to the frame header reads a few bytes of each segment before it.
        EXPECT_GE(file.BytesRead(), data.size());
        EXPECT_LE(file.BytesRead(), data.size() + 64);
    }
}

TEST(PictureHeader, LoadRefusesAGigabyteFileWithABadHeaderAfterItsStart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Sparse: a gigabyte of zeros takes no disk.
    ASSERT_TRUE(file.resize(kGiB));
    file.close();
    const qint64 before = testfiles::BytesReadByThisProcess();
    ASSERT_GE(before, 0);
    try {
        Picture::Load(path);
        ADD_FAILURE() << "a file of zeros loaded";
    } catch (const PictureError &error) {
        EXPECT_TRUE(error.Reason().startsWith(QLatin1String("JPEG error: Not a JPEG file"))) << error.Reason().toStdString();
    }
    EXPECT_LT(testfiles::BytesReadByThisProcess() - before, qint64(1) << 20);
}

}  // namespace
}  // namespace lumetta
