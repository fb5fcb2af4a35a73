// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_extensions.h"

#include <QFileInfo>

namespace lumetta {

namespace {

const QStringList kNewExtensions{".png", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif"};

}  // namespace

const QStringList &AcceptedPictureExtensions()
{
    static const QStringList kExtensions = [] {
        QStringList list{".jpg", ".JPG", ".jpeg", ".JPEG", ".gif", ".GIF", ".bmp", ".BMP"};
        for (const QString &extension : kNewExtensions)
            list << extension << extension.toUpper();
        return list;
    }();
    return kExtensions;
}

std::optional<PictureKind> AcceptedPictureKind(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || !AcceptedPictureExtensions().contains(QStringView(name).mid(dot)))
        return std::nullopt;
    return PictureKindOf(name);
}

QString AcceptedPictureMask()
{
    QStringList masks{"*.BMP", "*.JPG", "*.JPEG", "*.GIF"};
    for (const QString &extension : kNewExtensions)
        masks << u'*' + extension.toUpper();
    return masks.join(u';');
}

}  // namespace lumetta
