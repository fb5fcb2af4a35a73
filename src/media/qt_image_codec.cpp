// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/qt_image_codec.h"

#include "media/decode_reservation.h"
#include "media/exif_orientation.h"
#include "media/orientation.h"
#include "media/picture_error.h"
#include "media/png_chunks.h"

#include <QBuffer>
#include <QImageReader>

namespace lumetta {

namespace {

// Qt's own allocation limit, in MiB, set above ours so the pixel limit is the one that speaks
// (a picture at the limit with 16 bits a channel takes 2 GiB).
constexpr int kReaderAllocationLimitMiB = int(kMaxPicturePixels * 8 >> 20);

const char *PluginName(QtImageFormat format)
{
    switch (format) {
    case QtImageFormat::WebP:
        return "webp";
    case QtImageFormat::Tiff:
        return "tiff";
    case QtImageFormat::Png:
        break;
    }
    return "png";
}

QString FormatName(QtImageFormat format)
{
    switch (format) {
    case QtImageFormat::WebP:
        return QStringLiteral("WebP");
    case QtImageFormat::Tiff:
        return QStringLiteral("TIFF");
    case QtImageFormat::Png:
        break;
    }
    return QStringLiteral("PNG");
}

// A reader that takes the data as the named format or not at all.
class Reader
{
public:
    Reader(const QByteArray &data, QtImageFormat format, const QString &file) : data_(data), buffer_(&data_)
    {
        if (data.isEmpty())
            throw PictureError(file, QStringLiteral("the file is empty"));
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setFormat(PluginName(format));
        reader_.setDecideFormatFromContent(false);
        reader_.setAutoTransform(false);
        reader_.setAllocationLimit(kReaderAllocationLimitMiB);
        if (!QImageReader::supportedImageFormats().contains(PluginName(format)))
            throw PictureError(
                file, QStringLiteral("no %1 decoder is installed (Qt's image format plugins)").arg(FormatName(format)));
        if (!reader_.canRead())
            throw PictureError(file, QStringLiteral("not a %1 file").arg(FormatName(format)));
        // libpng believes a chunk's length and may reserve gigabytes for a few bytes of file.
        if (format == QtImageFormat::Png && !WalkPngChunks(data, [](const PngChunk &) { return true; }))
            throw PictureError(
                file, QStringLiteral("PNG error: a chunk runs past the end of the file (truncated or damaged)"));
        const QSize size = reader_.size();
        if (!size.isValid())
            throw PictureError(file, QStringLiteral("%1 error: the header is damaged").arg(FormatName(format)));
        CheckPictureSize(size.width(), size.height(), file);
        size_ = size;
    }

    QImageReader &ImageReader() { return reader_; }
    QSize size() const { return size_; }

private:
    QByteArray data_;
    QBuffer buffer_;
    QImageReader reader_;
    QSize size_;
};

int TransformationOrientation(QImageIOHandler::Transformations transformation)
{
    switch (int(transformation)) {
    case QImageIOHandler::TransformationMirror:
        return 2;
    case QImageIOHandler::TransformationRotate180:
        return 3;
    case QImageIOHandler::TransformationFlip:
        return 4;
    case QImageIOHandler::TransformationFlipAndRotate90:
        return 5;
    case QImageIOHandler::TransformationRotate90:
        return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90:
        return 7;
    case QImageIOHandler::TransformationRotate270:
        return 8;
    default:
        return kUpright;
    }
}

}  // namespace

QtImageHeader ReadQtImageHeader(const QByteArray &data, QtImageFormat format, const QString &file)
{
    Reader reader(data, format, file);
    QtImageHeader header;
    header.size = reader.size();
    switch (format) {
    case QtImageFormat::Png:
        header.orientation = PngExifOrientation(data);
        break;
    case QtImageFormat::WebP:
        header.orientation = WebpExifOrientation(data);
        break;
    case QtImageFormat::Tiff:
        header.orientation = TransformationOrientation(reader.ImageReader().transformation());
        break;
    }
    return header;
}

QImage DecodeQtImage(const QByteArray &data, QtImageFormat format, const QString &file, int orientation,
                     const QSize &uprightSize)
{
    Reader reader(data, format, file);
    QImageReader &imageReader = reader.ImageReader();
    const QSize full = reader.size();
    const QSize stored = uprightSize.isEmpty() ? full : OrientedSize(uprightSize, orientation);
    // Qt's WebP reader names no format before it reads: it decodes into 32 bits, and libwebp
    // keeps a 32-bit picture of its own for a lossless file.
    const QImage::Format produced =
        format == QtImageFormat::WebP ? QImage::Format_ARGB32 : imageReader.imageFormat();
    const int bytesPerPixel = DecodeReservation::BytesPerPixel(produced) * (format == QtImageFormat::WebP ? 2 : 1);
    const std::int64_t fullPixels = std::int64_t(full.width()) * full.height();
    const std::int64_t storedBytes = std::int64_t(stored.width()) * stored.height() * 4;
    // Qt's PNG reader scales 8-bit pictures as it reads them, but not interlaced or deeper ones.
    const bool streamed = format == QtImageFormat::Png && stored != full && bytesPerPixel <= 4
                          && !PngInterlaced(data) && imageReader.supportsOption(QImageIOHandler::ScaledSize);
    const bool converted = produced != QImage::Format_ARGB32 && produced != QImage::Format_RGB32;
    std::int64_t cost = storedBytes + std::int64_t(full.width()) * 8;
    if (!streamed)
        cost = fullPixels * bytesPerPixel + (converted ? fullPixels * 4 : 0) + (stored != full ? storedBytes : 0);
    if (orientation != kUpright)
        cost += storedBytes;
    const DecodeReservation reservation(cost, data.size(), file);

    if (streamed)
        imageReader.setScaledSize(stored);
    QImage image = imageReader.read();
    if (image.isNull())
        throw PictureError(file,
                           QStringLiteral("%1 error: %2").arg(FormatName(format), imageReader.errorString().toLower()));
    const QSize expected = streamed ? stored : full;
    if (image.size() != expected)
        throw PictureError(file, QStringLiteral("%1 error: the picture is %2 x %3 pixels where its header says %4 x %5")
                                     .arg(FormatName(format))
                                     .arg(image.width())
                                     .arg(image.height())
                                     .arg(expected.width())
                                     .arg(expected.height()));
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.size() != stored)
        image = image.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull())
        throw PictureError(file, QStringLiteral("not enough memory"));
    return OrientImage(image, orientation);
}

}  // namespace lumetta
