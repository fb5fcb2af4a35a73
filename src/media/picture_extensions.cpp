// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_extensions.h"

#include <QFileInfo>

namespace lumetta {

namespace {

const QStringList kNewExtensions{".png", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif"};

}  // namespace

const QStringList &AcceptedPictureExtensions()
{
    static const QStringList kExtensions = QStringList{".jpg", ".jpeg", ".gif", ".bmp"} + kNewExtensions;
    return kExtensions;
}

bool HasAcceptedPictureExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && AcceptedPictureExtensions().contains(QStringView(name).mid(dot), Qt::CaseInsensitive);
}

std::optional<PictureKind> AcceptedPictureKind(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!HasAcceptedPictureExtension(name))
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
