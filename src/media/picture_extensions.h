// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// The extensions the picture list, the folder panel and standalone shows accept, in any letter
// case (".jpg", ".JPG" and ".Jpg" alike): ".jpg", ".jpeg", ".gif", ".bmp", ".png", ".webp",
// ".tif", ".tiff", ".heic", ".heif", ".avif".
const QStringList &AcceptedPictureExtensions();

// True when the file name NAME ends in an accepted extension, in any letter case.
bool HasAcceptedPictureExtension(const QString &name);

// The kind of a file named with an accepted extension; none otherwise.
std::optional<PictureKind> AcceptedPictureKind(const QString &path);

// A file mask listing every accepted picture: "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;..."; masks
// ignore letter case.
QString AcceptedPictureMask();

}  // namespace lumetta
