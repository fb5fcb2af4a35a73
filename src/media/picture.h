#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace lumetta {

enum class PictureKind { Bmp, Jpeg, Gif };

// The decoder for a file name, by extension regardless of case (".bmp", ".jpg", ".jpeg",
// ".gif"); none for any other name.
std::optional<PictureKind> pictureKindOf(const QString &path);

// A decoded (or, for JPEG, decodable) picture. JPEG data is kept unchanged and decoded on
// first use, at full size or at one quarter of each side; BMP and GIF are decoded at once.
// Copies share their data. Every failure throws PictureError naming the file.
class Picture
{
public:
    Picture() = default;

    // Reads a file and chooses its decoder by extension.
    static Picture load(const QString &path);
    // Decodes data of a known kind; `name` stands for the file in messages.
    static Picture fromData(const QByteArray &data, PictureKind kind, const QString &name);

    bool isNull() const { return !kind_; }
    PictureKind kind() const { return kind_.value_or(PictureKind::Bmp); }
    const QString &name() const { return name_; }

    // Size at the current scale; known for a JPEG before it is decoded.
    QSize size() const;
    int width() const { return size().width(); }
    int height() const { return size().height(); }

    bool isQuarterSize() const { return quarter_; }
    // JPEG only: decode each side at one quarter. Drops a decode made at the other scale.
    void setQuarterSize(bool quarter);

    bool isDecoded() const { return !image_.isNull(); }
    void decodeNow() const;
    // The decoded pixels; decodes first if needed.
    const QImage &image() const;
    // The picture smoothly scaled to `size` (aspect not kept). A JPEG not decoded yet is
    // decoded for this call only, at the smallest DCT scale that still covers `size`.
    QImage scaled(const QSize &size) const;

    // The JPEG file's bytes, unchanged (empty for other kinds).
    const QByteArray &jpegData() const { return jpegData_; }
    QByteArray toBmp() const;
    QByteArray toGif() const;
    // What a standalone show stores: BMP as BMP, GIF as GIF, JPEG as its own data.
    QByteArray toFileData() const;

private:
    std::optional<PictureKind> kind_;
    QString name_;
    QByteArray jpegData_;
    QSize fullSize_;
    bool quarter_ = false;
    mutable QImage image_;
};

}  // namespace lumetta
