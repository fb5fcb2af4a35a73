// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/photo_files.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

#include <libexif/exif-data.h>
#include <libheif/heif.h>
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace testpictures {

namespace {

QByteArray PngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray body = type + data;
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))),
                          crc.data());
    return chunk + crc;
}

QByteArray RiffChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk = type + QByteArray(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), chunk.data() + 4);
    chunk += data;
    if (data.size() % 2)
        chunk += '\0';
    return chunk;
}

void Require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void Check(const heif_error &error)
{
    if (error.code != heif_error_Ok)
        throw std::runtime_error(error.message);
}

heif_error AppendTo(heif_context *, const void *data, size_t size, void *userdata)
{
    static_cast<QByteArray *>(userdata)->append(static_cast<const char *>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

}  // namespace

QByteArray MakeExifBlock(int value, bool bigEndian)
{
    ExifData *exif = exif_data_new();
    Require(exif, "exif_data_new");
    exif_data_set_byte_order(exif, bigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL);
    ExifEntry *entry = exif_entry_new();
    exif_content_add_entry(exif->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, exif_data_get_byte_order(exif), ExifShort(value));
    exif_entry_unref(entry);
    unsigned char *bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &bytes, &size);
    exif_data_unref(exif);
    Require(bytes, "exif_data_save_data");
    const QByteArray block(reinterpret_cast<const char *>(bytes), qsizetype(size));
    std::free(bytes);
    return block;
}

QByteArray WithJpegApp1(const QByteArray &jpeg, const QByteArray &app1)
{
    QByteArray segment("\xFF\xE1\0\0", 4);
    qToBigEndian<quint16>(quint16(app1.size() + 2), segment.data() + 2);
    QByteArray out = jpeg;
    out.insert(2, segment + app1);
    return out;
}

QByteArray WithPngExif(const QByteArray &png, const QByteArray &exifBlock)
{
    // After the signature (8 bytes) and IHDR (25 bytes).
    QByteArray out = png;
    out.insert(33, PngChunk("eXIf", exifBlock.mid(6)));
    return out;
}

QByteArray WithWebpExif(const QByteArray &webp, const QByteArray &exifBlock)
{
    Require(webp.mid(12, 4) == "VP8 ", "a simple lossy WebP");
    const QByteArray bitstream = webp.mid(12);
    // VP8 frame header: after the 8-byte chunk header, 3 bytes frame tag, 3 bytes start code,
    // then 14-bit width and height.
    const int width = qFromLittleEndian<quint16>(bitstream.constData() + 14) & 0x3FFF;
    const int height = qFromLittleEndian<quint16>(bitstream.constData() + 16) & 0x3FFF;
    QByteArray vp8x(10, '\0');
    vp8x[0] = char(0x08);  // EXIF present
    const auto put24 = [&](int at, int value) {
        vp8x[at] = char(value & 0xFF);
        vp8x[at + 1] = char((value >> 8) & 0xFF);
        vp8x[at + 2] = char((value >> 16) & 0xFF);
    };
    put24(4, width - 1);
    put24(7, height - 1);
    const QByteArray body = "WEBP" + RiffChunk("VP8X", vp8x) + bitstream + RiffChunk("EXIF", exifBlock.mid(6));
    QByteArray out = "RIFF" + QByteArray(4, '\0') + body;
    qToLittleEndian<quint32>(quint32(body.size()), out.data() + 4);
    return out;
}

QByteArray MakeQtPicture(const QImage &image, const char *format, int tiffOrientation)
{
    static const QImageIOHandler::Transformations kTransformations[] = {
        QImageIOHandler::TransformationNone,     QImageIOHandler::TransformationNone,
        QImageIOHandler::TransformationMirror,   QImageIOHandler::TransformationRotate180,
        QImageIOHandler::TransformationFlip,     QImageIOHandler::TransformationFlipAndRotate90,
        QImageIOHandler::TransformationRotate90, QImageIOHandler::TransformationMirrorAndRotate90,
        QImageIOHandler::TransformationRotate270};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (QByteArray(format) == "webp")
        writer.setQuality(95);
    writer.setTransformation(kTransformations[tiffOrientation]);
    Require(writer.write(image), format);
    return bytes;
}

QByteArray MakeHeif(const QImage &image, bool avif, int orientation, int quality)
{
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    Check(heif_context_get_encoder_for_format(context, avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder));
    heif_encoder_set_lossy_quality(encoder, quality);
    heif_image *picture = nullptr;
    Check(heif_image_create(image.width(), image.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture));
    Check(heif_image_add_plane(picture, heif_channel_interleaved, image.width(), image.height(), 8));
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            uint8_t *out = plane + y * stride + 3 * x;
            out[0] = uint8_t(qRed(pixel));
            out[1] = uint8_t(qGreen(pixel));
            out[2] = uint8_t(qBlue(pixel));
        }
    }
    heif_encoding_options *options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    Check(heif_context_encode_image(context, picture, encoder, options, nullptr));
    heif_encoding_options_free(options);
    heif_image_release(picture);
    heif_encoder_release(encoder);
    QByteArray bytes;
    heif_writer writer{1, AppendTo};
    Check(heif_context_write(context, &writer, &bytes));
    heif_context_free(context);
    return bytes;
}

QImage StoredForOrientation(const QImage &upright, int orientation)
{
    // The tag says where the stored row 0 and column 0 lie in the upright picture:
    // 1 top/left, 2 top/right, 3 bottom/right, 4 bottom/left, 5 left/top, 6 right/top,
    // 7 right/bottom, 8 left/bottom.
    const bool swaps = orientation >= 5;
    const int uw = upright.width(), uh = upright.height();
    QImage stored(swaps ? uh : uw, swaps ? uw : uh, upright.format());
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            int ux = x, uy = y;
            switch (orientation) {
            case 2:
                ux = uw - 1 - x;
                break;
            case 3:
                ux = uw - 1 - x;
                uy = uh - 1 - y;
                break;
            case 4:
                uy = uh - 1 - y;
                break;
            case 5:
                ux = y;
                uy = x;
                break;
            case 6:
                ux = uw - 1 - y;
                uy = x;
                break;
            case 7:
                ux = uw - 1 - y;
                uy = uh - 1 - x;
                break;
            case 8:
                ux = y;
                uy = uh - 1 - x;
                break;
            default:
                break;
            }
            stored.setPixel(x, y, upright.pixel(ux, uy));
        }
    }
    return stored;
}

QImage QuadrantPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            image.setPixel(x, y,
                           bottom ? (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255))
                                  : (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
        }
    return image;
}

}  // namespace testpictures
