// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_header.h"

#include "media/picture_error.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace lumetta {

namespace {

// Every fixed field the checks below read lies in the first 64 bytes of a file.
constexpr qint64 kStartBytes = 64;
// A JPEG whose frame header is not found within this many segments is left to the decoder.
constexpr int kMaxJpegSegments = 4096;

// Only a size beyond the limit is refused here; an empty or odd one is the decoder's to judge.
void CheckNotTooLarge(std::int64_t width, std::int64_t height, const QString &name)
{
    if (width > 0 && height > 0 && width * height > kMaxPicturePixels)
        CheckPictureSize(width, height, name);
}

quint16 Le16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 Le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint32 Be32(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

quint32 Le24(const QByteArray &bytes, int at)
{
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8 | quint32(quint8(bytes[at + 2])) << 16;
}

bool IsJpegFrameMarker(int marker)
{
    // SOF0 to SOF15 but for DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments from the start of image to the frame header, seeking over their
// contents, and checks the frame's size.
void CheckJpegFrame(QIODevice &file, qint64 size, const QString &name)
{
    qint64 at = 2;
    for (int segment = 0; segment < kMaxJpegSegments && at + 4 <= size; ++segment) {
        if (!file.seek(at))
            return;
        const QByteArray head = file.read(4);
        if (head.size() < 4 || quint8(head[0]) != 0xFF)
            return;
        const int marker = quint8(head[1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return;
        if (IsJpegFrameMarker(marker)) {
            const QByteArray frame = file.read(5);
            if (frame.size() == 5)
                CheckNotTooLarge(qFromBigEndian<quint16>(frame.constData() + 3),
                                 qFromBigEndian<quint16>(frame.constData() + 1), name);
            return;
        }
        at += 2 + qFromBigEndian<quint16>(head.constData() + 2);
    }
}

// The bytes an uncompressed BMP needs: up to the end of its pixel rows. Zero when the header
// does not say (compressed, or an unusual header), so the whole file is read.
qint64 BmpNeededBytes(const QByteArray &start, const QString &name)
{
    if (start.size() < 30)
        return 0;
    const quint32 infoSize = Le32(start, 14);
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = Le16(start, 18);
        height = Le16(start, 20);
        bits = Le16(start, 24);
    } else if (infoSize >= 40 && start.size() >= 34) {
        width = qint32(Le32(start, 18));
        height = std::abs(qint64(qint32(Le32(start, 22))));
        bits = Le16(start, 28);
        compression = Le32(start, 30);
    } else {
        return 0;
    }
    CheckNotTooLarge(width, height, name);
    // BI_RGB, BI_BITFIELDS and BI_ALPHABITFIELDS store whole rows of whole words.
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    const bool wholeBytes = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!uncompressed || !wholeBytes || width <= 0 || height <= 0)
        return 0;
    const qint64 pixelsAt = Le32(start, 10);
    if (pixelsAt < 14 + qint64(infoSize))
        return 0;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return pixelsAt + rowBytes * height;
}

}  // namespace

PictureHeader PictureHeader::Read(QIODevice &file, qint64 size, PictureKind kind, const QString &name)
{
    if (size <= 0)
        throw PictureError(name, QStringLiteral("the file is empty"));
    PictureHeader header;
    header.start_ = file.read(std::min(size, kStartBytes));
    header.needed_ = size;
    const QByteArray &start = header.start_;
    const auto begins = [&start](QByteArrayView signature, qsizetype at = 0) {
        return QByteArrayView(start).sliced(std::min(at, start.size())).startsWith(signature);
    };
    switch (kind) {
    case PictureKind::Jpeg:
        if (start.size() < 3 || quint8(start[0]) != 0xFF || quint8(start[1]) != 0xD8 || quint8(start[2]) != 0xFF)
            // In libjpeg's own words, as its decoder would say it.
            throw PictureError(name, QStringLiteral("JPEG error: Not a JPEG file: starts with 0x%1 0x%2")
                                         .arg(QString::fromLatin1(start.left(1).toHex()),
                                              QString::fromLatin1(start.mid(1, 1).toHex())));
        CheckJpegFrame(file, size, name);
        file.seek(start.size());
        break;
    case PictureKind::Png:
        if (!begins("\x89PNG\r\n\x1A\n"))
            throw PictureError(name, QStringLiteral("not a PNG file"));
        if (start.size() >= 24 && begins("IHDR", 12))
            CheckNotTooLarge(Be32(start, 16), Be32(start, 20), name);
        break;
    case PictureKind::Gif:
        if (!begins("GIF87a") && !begins("GIF89a"))
            throw PictureError(name, QStringLiteral("not a GIF file"));
        if (start.size() >= 10)
            CheckNotTooLarge(Le16(start, 6), Le16(start, 8), name);
        break;
    case PictureKind::Bmp:
        if (!begins("BM"))
            throw PictureError(name, QStringLiteral("not a BMP file"));
        if (const qint64 needed = BmpNeededBytes(start, name); needed > 0)
            header.needed_ = std::clamp(needed, qint64(start.size()), size);
        break;
    case PictureKind::WebP:
        if (!begins("RIFF") || !begins("WEBP", 8))
            throw PictureError(name, QStringLiteral("not a WebP file"));
        // Only the extended header's canvas can exceed the limit; simple WebP stops at 16383 a side.
        if (start.size() >= 30 && begins("VP8X", 12))
            CheckNotTooLarge(qint64(Le24(start, 24)) + 1, qint64(Le24(start, 27)) + 1, name);
        break;
    case PictureKind::Tiff:
        // Classic TIFF (42) and BigTIFF (43), in either byte order.
        if (!begins(QByteArrayView("II*\0", 4)) && !begins(QByteArrayView("MM\0*", 4))
            && !begins(QByteArrayView("II+\0", 4)) && !begins(QByteArrayView("MM\0+", 4)))
            throw PictureError(name, QStringLiteral("not a TIFF file"));
        break;
    case PictureKind::Heif:
        if (!begins("ftyp", 4))
            throw PictureError(name, QStringLiteral("HEIF error: not a HEIF file (it begins with no file type box)"));
        break;
    }
    return header;
}

}  // namespace lumetta
