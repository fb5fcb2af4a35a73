// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture.h"

#include "common/regular_file.h"
#include "media/bmp_codec.h"
#include "media/decode_reservation.h"
#include "media/exif_orientation.h"
#include "media/gif_codec.h"
#include "media/heif_codec.h"
#include "media/jpeg_codec.h"
#include "media/orientation.h"
#include "media/picture_error.h"
#include "media/picture_header.h"
#include "media/qt_image_codec.h"

#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

// Larger files cannot hold a picture within the pixel limit in any format we read.
constexpr qint64 kMaxFileBytes = qint64(2) << 30;
constexpr qint64 kReadPiece = qint64(1) << 20;

QtImageFormat QtFormatOf(PictureKind kind)
{
    switch (kind) {
    case PictureKind::WebP:
        return QtImageFormat::WebP;
    case PictureKind::Tiff:
        return QtImageFormat::Tiff;
    default:
        return QtImageFormat::Png;
    }
}

}  // namespace

std::optional<PictureKind> PictureKindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return PictureKind::Bmp;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureKind::Jpeg;
    if (suffix == QLatin1String("gif"))
        return PictureKind::Gif;
    if (suffix == QLatin1String("png"))
        return PictureKind::Png;
    if (suffix == QLatin1String("webp"))
        return PictureKind::WebP;
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return PictureKind::Tiff;
    if (suffix == QLatin1String("heic") || suffix == QLatin1String("heif") || suffix == QLatin1String("avif"))
        return PictureKind::Heif;
    return std::nullopt;
}

Picture Picture::Load(const QString &path)
{
    const std::optional<PictureKind> kind = PictureKindOf(path);
    if (!kind)
        throw PictureError(path, QStringLiteral("not a BMP, JPEG, GIF, PNG, WebP, TIFF, HEIC or AVIF file name"));
    RegularFile file(path, kMaxFileBytes);
    if (!file.IsOpen())
        throw PictureError(path, file.ErrorString());
    return Read(file.Device(), file.Size(), *kind, path);
}

Picture Picture::Read(QIODevice &file, qint64 size, PictureKind kind, const QString &name)
{
    const PictureHeader header = PictureHeader::Read(file, size, kind, name);
    QByteArray data = header.Start();
    const qint64 needed = header.NeededBytes();
    data.reserve(needed);
    while (data.size() < needed) {
        const QByteArray piece = file.read(std::min(needed - data.size(), kReadPiece));
        if (piece.isEmpty()) {
            // A file that shrank meanwhile reads as truncated; a failing disk says why.
            const auto *disk = qobject_cast<QFileDevice *>(&file);
            if (disk && disk->error() != QFileDevice::NoError)
                throw PictureError(name, disk->errorString());
            break;
        }
        data += piece;
    }
    return FromData(data, kind, name);
}

Picture Picture::FromData(const QByteArray &data, PictureKind kind, const QString &name)
{
    Picture picture;
    picture.name_ = name;
    picture.fileBytes_ = data.size();
    switch (kind) {
    case PictureKind::Jpeg:
        picture.fullSize_ = ReadJpegSize(data, name);
        picture.orientation_ = JpegExifOrientation(data);
        picture.data_ = data;
        break;
    case PictureKind::Png:
    case PictureKind::WebP:
    case PictureKind::Tiff: {
        const QtImageHeader header = ReadQtImageHeader(data, QtFormatOf(kind), name);
        picture.fullSize_ = header.size;
        picture.orientation_ = header.orientation;
        picture.data_ = data;
        break;
    }
    case PictureKind::Heif:
        picture.fullSize_ = ReadHeifSize(data, name);
        picture.data_ = data;
        break;
    case PictureKind::Gif:
        picture.image_ = DecodeGif(data, name);
        picture.fullSize_ = picture.image_.size();
        break;
    case PictureKind::Bmp:
        picture.image_ = DecodeBmp(data, name);
        picture.fullSize_ = picture.image_.size();
        break;
    }
    picture.kind_ = kind;
    return picture;
}

QSize Picture::size() const
{
    return OrientedSize(quarter_ ? JpegScaledSize(fullSize_, 4) : fullSize_, orientation_);
}

void Picture::SetQuarterSize(bool quarter)
{
    if (kind_ != PictureKind::Jpeg || quarter == quarter_)
        return;
    quarter_ = quarter;
    image_ = QImage();
}

void Picture::DecodeNow() const
{
    if (!image_.isNull() || !kind_)
        return;
    switch (*kind_) {
    case PictureKind::Jpeg:
        image_ = DecodeJpeg(data_, quarter_ ? 4 : 1, name_, orientation_);
        break;
    case PictureKind::Png:
    case PictureKind::WebP:
    case PictureKind::Tiff:
        image_ = DecodeQtImage(data_, QtFormatOf(*kind_), name_, orientation_);
        break;
    case PictureKind::Heif:
        image_ = DecodeHeif(data_, name_);
        break;
    case PictureKind::Bmp:
    case PictureKind::Gif:
        break;
    }
}

const QImage &Picture::Image() const
{
    DecodeNow();
    return image_;
}

QImage Picture::Scaled(const QSize &size) const
{
    if (kind_ == PictureKind::Jpeg && image_.isNull()) {
        // libjpeg shrinks far more cheaply while decoding than a smooth scale does afterwards.
        const QSize stored = OrientedSize(size, orientation_);
        const int denominator = JpegDenominatorCovering(fullSize_, stored, quarter_ ? 4 : 1);
        const QImage reduced = DecodeJpeg(data_, denominator, name_, orientation_);
        if (reduced.size() == size)
            return reduced;
        return reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image_.isNull() && (kind_ == PictureKind::Png || kind_ == PictureKind::WebP || kind_ == PictureKind::Tiff))
        return DecodeQtImage(data_, QtFormatOf(*kind_), name_, orientation_, size);
    const QImage &source = Image();
    if (source.size() == size)
        return source;
    // Qt scales a picture of another format through a 32-bit copy of it.
    const bool converted = source.format() != QImage::Format_ARGB32 && source.format() != QImage::Format_RGB32;
    const std::int64_t copy = converted ? std::int64_t(source.width()) * source.height() * 4 : 0;
    const DecodeReservation reservation(source.sizeInBytes() + copy + std::int64_t(size.width()) * size.height() * 4,
                                        fileBytes_, name_);
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

Picture Picture::ReducedWithin(const QSize &bound) const
{
    const QSize upright = size();
    if (upright.width() <= bound.width() && upright.height() <= bound.height()) {
        DecodeNow();
        return *this;
    }
    const double scale = std::min(double(bound.width()) / upright.width(), double(bound.height()) / upright.height());
    const QSize reduced(std::max(1, int(std::lround(upright.width() * scale))),
                        std::max(1, int(std::lround(upright.height() * scale))));
    Picture picture = *this;
    picture.image_ = Scaled(reduced);
    picture.fullSize_ = OrientedSize(reduced, orientation_);
    picture.quarter_ = false;
    return picture;
}

QByteArray Picture::ToBmp() const
{
    return EncodeBmp(Image(), name_);
}

QByteArray Picture::ToGif() const
{
    return EncodeGif(Image(), name_);
}

QByteArray Picture::ToFileData() const
{
    switch (Kind()) {
    case PictureKind::Gif:
        return ToGif();
    case PictureKind::Bmp:
        return ToBmp();
    default:
        return data_;
    }
}

}  // namespace lumetta
