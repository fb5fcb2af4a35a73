// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_extensions.h"

#include <QFileInfo>

namespace lumetta {

namespace {

const QStringList kNewExtensions{".png", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif"};

}  // namespace

const QStringList &acceptedPictureExtensions()
{
    static const QStringList extensions = QStringList{".jpg", ".jpeg", ".gif", ".bmp"} + kNewExtensions;
    return extensions;
}

bool hasAcceptedPictureExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && acceptedPictureExtensions().contains(QStringView(name).mid(dot), Qt::CaseInsensitive);
}

std::optional<PictureKind> acceptedPictureKind(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!hasAcceptedPictureExtension(name))
        return std::nullopt;
    return pictureKindOf(name);
}

QString acceptedPictureMask()
{
    QStringList masks{"*.BMP", "*.JPG", "*.JPEG", "*.GIF"};
    for (const QString &extension : kNewExtensions)
        masks << u'*' + extension.toUpper();
    return masks.join(u';');
}

}  // namespace lumetta
