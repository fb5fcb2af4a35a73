// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_error.h"

#include "common/regular_file.h"

namespace lumetta {

namespace {

QString ComposeMessage(const QString &file, const QString &reason)
{
    return QStringLiteral("Cannot load picture %1: %2").arg(RegularFile::ShownName(file), reason);
}

}  // namespace

PictureError::PictureError(const QString &file, const QString &reason)
    : std::runtime_error(ComposeMessage(file, reason).toStdString()),
      file_(file),
      reason_(reason)
{
}

QString PictureError::Message() const
{
    return ComposeMessage(file_, reason_);
}

void CheckPictureSize(std::int64_t width, std::int64_t height, const QString &file)
{
    if (width <= 0 || height <= 0)
        throw PictureError(file, QStringLiteral("the picture is empty (%1 x %2 pixels)").arg(width).arg(height));
    if (width * height > kMaxPicturePixels)
        throw PictureError(file,
                           QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 pixels are accepted)")
                               .arg(width)
                               .arg(height)
                               .arg(kMaxPicturePixels));
}

}  // namespace lumetta
