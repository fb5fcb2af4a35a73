// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/shared_thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace lumetta {

namespace {

const struct
{
    int side;
    const char *folder;
} kSizes[] = {{128, "normal"}, {256, "large"}, {512, "x-large"}, {1024, "xx-large"}};

// A thumbnail is a few dozen kilobytes; anything far larger is not one.
constexpr qint64 kMaxThumbnailBytes = qint64(8) << 20;

const char *FolderFor(int side)
{
    for (const auto &size : kSizes)
        if (size.side == side)
            return size.folder;
    return nullptr;
}

QString UriOf(const QFileInfo &file)
{
    return QString::fromLatin1(QUrl::fromLocalFile(file.absoluteFilePath()).toEncoded());
}

QString MTimeOf(const QFileInfo &file)
{
    return QString::number(file.lastModified().toSecsSinceEpoch());
}

}  // namespace

QString SharedThumbnailCache::DefaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails");
}

SharedThumbnailCache::SharedThumbnailCache(const QString &root) : root_(root)
{
}

int SharedThumbnailCache::SideFor(const QSize &bound)
{
    const int side = std::max(bound.width(), bound.height());
    for (const auto &size : kSizes)
        if (side <= size.side)
            return size.side;
    return side;
}

QString SharedThumbnailCache::ThumbnailPath(const QString &path, int side) const
{
    const char *folder = FolderFor(side);
    if (!folder)
        return {};
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    const QByteArray name = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
    return root_ + u'/' + QLatin1String(folder) + u'/' + QLatin1String(name) + QStringLiteral(".png");
}

QImage SharedThumbnailCache::Read(const QFileInfo &file, int side) const
{
    const QString path = ThumbnailPath(file.absoluteFilePath(), side);
    const QFileInfo thumbnail(path);
    if (path.isEmpty() || !file.isFile() || !thumbnail.isFile() || thumbnail.size() > kMaxThumbnailBytes)
        return {};
    QImageReader reader(path, "png");
    const QSize size = reader.size();
    if (!size.isValid() || std::max(size.width(), size.height()) > side)
        return {};
    // The reader's own text lookup splits keys at their "::"; the image keeps them whole.
    const QImage image = reader.read();
    if (image.text(QStringLiteral("Thumb::URI")) != UriOf(file)
        || image.text(QStringLiteral("Thumb::MTime")) != MTimeOf(file))
        return {};
    return image;
}

bool SharedThumbnailCache::Write(const QFileInfo &file, int side, const QImage &image) const
{
    const QString path = ThumbnailPath(file.absoluteFilePath(), side);
    // Thumbnails of thumbnails would feed on themselves.
    if (path.isEmpty() || image.isNull() || std::max(image.width(), image.height()) > side
        || file.absoluteFilePath().startsWith(root_ + u'/'))
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QImage tagged = image;
    tagged.setText(QStringLiteral("Thumb::URI"), UriOf(file));
    tagged.setText(QStringLiteral("Thumb::MTime"), MTimeOf(file));
    tagged.setText(QStringLiteral("Thumb::Size"), QString::number(file.size()));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Lumetta"));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QImageWriter writer(&out, "png");
    if (!writer.write(tagged)) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace lumetta
