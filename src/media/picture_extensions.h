// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// The extensions the picture list, the folder panel and standalone shows accept, in exactly
// these forms (".jpg" and ".JPG", never ".Jpg"): ".jpg", ".JPG", ".jpeg", ".JPEG", ".gif",
// ".GIF", ".bmp", ".BMP", then ".png", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif" in
// lower and upper case.
const QStringList &AcceptedPictureExtensions();

// The kind of a file named with one of the accepted forms, compared exactly; none otherwise.
std::optional<PictureKind> AcceptedPictureKind(const QString &path);

// A file mask listing every accepted picture: "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;..."; masks
// ignore letter case.
QString AcceptedPictureMask();

}  // namespace lumetta
