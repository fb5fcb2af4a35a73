// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

#include <optional>

namespace lumetta {

// Heif covers HEIC and AVIF, both read by libheif.
enum class PictureKind { Bmp, Jpeg, Gif, Png, WebP, Tiff, Heif };

// The decoder for a file name, by extension regardless of case (".bmp", ".jpg", ".jpeg",
// ".gif", ".png", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif"); none for any other name.
std::optional<PictureKind> PictureKindOf(const QString &path);

// A decoded (or decodable) picture, upright: an EXIF orientation in the file is applied to
// the decoded pixels at the decoded scale, and sizes are those of the upright picture. BMP and
// GIF are decoded at once; the other kinds keep the file's bytes unchanged and decode on first
// use, JPEG at full size or at one quarter of each side. Copies share their data. Every
// failure throws PictureError naming the file.
class Picture
{
public:
    Picture() = default;

    // Reads a regular file and chooses its decoder by extension.
    static Picture Load(const QString &path);
    // Reads a KIND picture from FILE (open at its start, SIZE bytes long): the header first, so
    // a file that cannot be one is refused before the rest is read, then only what the format
    // needs. `name` stands for the file in messages.
    static Picture Read(QIODevice &file, qint64 size, PictureKind kind, const QString &name);
    // Decodes data of a known kind; `name` stands for the file in messages.
    static Picture FromData(const QByteArray &data, PictureKind kind, const QString &name);

    bool IsNull() const { return !kind_; }
    PictureKind Kind() const { return kind_.value_or(PictureKind::Bmp); }
    const QString &Name() const { return name_; }

    // Upright size at the current scale; known before the picture is decoded.
    QSize size() const;
    int Width() const { return size().width(); }
    int Height() const { return size().height(); }

    bool IsQuarterSize() const { return quarter_; }
    // JPEG only: decode each side at one quarter. Drops a decode made at the other scale.
    void SetQuarterSize(bool quarter);

    bool IsDecoded() const { return !image_.isNull(); }
    void DecodeNow() const;
    // The decoded pixels; decodes first if needed.
    const QImage &Image() const;
    // The picture smoothly scaled to `size` (aspect not kept). A JPEG not decoded yet is
    // decoded for this call only, at the smallest DCT scale that still covers `size`.
    QImage Scaled(const QSize &size) const;

    // A copy decoded to fit within `bound` (never enlarged), for showing: its size is the
    // reduced one, and a huge picture is never decoded whole where its format allows.
    Picture ReducedWithin(const QSize &bound) const;

    // The EXIF orientation applied (1 to 8; 1 for kinds that carry none or turn themselves).
    int Orientation() const { return orientation_; }

    // The file's bytes, unchanged (empty for BMP and GIF, which are kept decoded).
    const QByteArray &OriginalData() const { return data_; }
    QByteArray ToBmp() const;
    QByteArray ToGif() const;
    // What a standalone show stores: BMP as BMP, GIF as GIF, every other kind as its own bytes.
    QByteArray ToFileData() const;

private:
    std::optional<PictureKind> kind_;
    QString name_;
    QByteArray data_;
    // The file's length, which sets how much memory decoding it may take.
    qint64 fileBytes_ = 0;
    // As stored, before orientation.
    QSize fullSize_;
    int orientation_ = 1;
    bool quarter_ = false;
    mutable QImage image_;
};

}  // namespace lumetta
