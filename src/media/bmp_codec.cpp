// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/bmp_codec.h"

#include "media/decode_reservation.h"
#include "media/picture_error.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace lumetta {

namespace {

struct BmpLayout
{
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t offset = 0;
    std::int64_t bits = 0;
    bool uncompressed = true;
    std::int64_t imageSize = 0;

    // Bytes the file needs for the pixel data its headers declare; only meaningful once the
    // size is known to be within the pixel limit, which keeps the product from overflowing.
    std::int64_t Length() const { return offset + (uncompressed ? (width * bits + 31) / 32 * 4 * height : imageSize); }
};

// Reads the sizes from the file and info headers. Qt's reader pads a short file silently and
// reports top-down pictures with a negative height, so both are judged here.
std::optional<BmpLayout> ReadLayout(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const auto u16 = [&](int at) { return std::int64_t(qFromLittleEndian<quint16>(bytes + at)); };
    const auto u32 = [&](int at) { return std::int64_t(qFromLittleEndian<quint32>(bytes + at)); };
    const auto i32 = [&](int at) { return std::int64_t(qFromLittleEndian<qint32>(bytes + at)); };
    if (data.size() < 26 || !data.startsWith("BM"))
        return std::nullopt;
    const std::int64_t headerSize = u32(14);
    BmpLayout layout;
    layout.offset = u32(10);
    std::int64_t compression = 0;
    if (headerSize == 12) {
        layout.width = u16(18);
        layout.height = u16(20);
        layout.bits = u16(24);
    } else if (headerSize >= 16 && data.size() >= 14 + std::min<std::int64_t>(headerSize, 40)) {
        layout.width = std::llabs(i32(18));
        layout.height = std::llabs(i32(22));
        layout.bits = u16(28);
        compression = headerSize >= 20 ? u32(30) : 0;
        layout.imageSize = headerSize >= 24 ? u32(34) : 0;
    } else {
        return std::nullopt;
    }
    layout.uncompressed = compression == 0 || compression == 3 || compression == 6;
    return layout;
}

}  // namespace

QImage DecodeBmp(const QByteArray &data, const QString &file)
{
    if (data.isEmpty())
        throw PictureError(file, QStringLiteral("the file is empty"));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    // Our own pixel limit decides; Qt's default allocation limit (256 MB) is lower.
    reader.setAllocationLimit(int((kMaxPicturePixels * 4) >> 20) + 1);

    const std::optional<BmpLayout> layout = ReadLayout(data);
    if (!layout || !reader.canRead())
        throw PictureError(file, QStringLiteral("not a BMP file"));
    CheckPictureSize(layout->width, layout->height, file);
    if (layout->Length() > data.size())
        throw PictureError(file, QStringLiteral("the file is truncated"));

    const DecodeReservation reservation(
        layout->width * layout->height * DecodeReservation::BytesPerPixel(reader.imageFormat()), data.size(), file);
    QImage image = reader.read();
    if (image.isNull())
        throw PictureError(file, QStringLiteral("BMP error: %1").arg(reader.errorString()));
    return image;
}

QByteArray EncodeBmp(const QImage &image, const QString &file)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (image.isNull() || !writer.write(image))
        throw PictureError(file, QStringLiteral("cannot write a BMP file: %1").arg(writer.errorString()));
    return out;
}

}  // namespace lumetta
