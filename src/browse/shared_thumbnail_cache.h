// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileInfo>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// The thumbnail cache shared with file managers, laid out as freedesktop.org has it:
// PNG files named after the MD5 of the picture's file URI in $XDG_CACHE_HOME/thumbnails/normal
// (128 pixels a side at most), large (256), x-large (512) and xx-large (1024), each stating the
// URI and the picture's modification time (Thumb::URI, Thumb::MTime). A thumbnail whose time
// differs from the file's is stale and not used. Safe to use from several threads.
class SharedThumbnailCache
{
public:
    // $XDG_CACHE_HOME/thumbnails, ~/.cache/thumbnails by default.
    static QString DefaultRoot();

    explicit SharedThumbnailCache(const QString &root = DefaultRoot());

    // The largest side of the cache's smallest size that covers BOUND; BOUND itself beyond 1024.
    static int SideFor(const QSize &bound);
    // The file that holds the thumbnail of the picture PATH (absolute) at the cache size SIDE.
    QString ThumbnailPath(const QString &path, int side) const;

    // The cached thumbnail of the picture FILE at the cache size SIDE; a null image when there is
    // none, it is stale, names another file or is not a sound PNG of that size.
    QImage Read(const QFileInfo &file, int side) const;
    // Stores IMAGE (at most SIDE pixels a side, as made from FILE) as FILE's thumbnail; the file
    // is written beside its place and renamed into it, readable by the user only. False when
    // it cannot be written or FILE lies in the cache itself.
    bool Write(const QFileInfo &file, int side, const QImage &image) const;

private:
    QString root_;
};

}  // namespace lumetta
