// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// The formats Qt's image plugins decode for us.
enum class QtImageFormat { Png, WebP, Tiff };

// The header of PNG, WebP or TIFF data: its stored size and the EXIF orientation (1 to 8) it
// carries (PNG "eXIf" chunk, WebP "EXIF" chunk, TIFF orientation tag). Throws PictureError
// (naming `file`) for data of another format or a size outside kMaxPicturePixels.
struct QtImageHeader
{
    QSize size;
    int orientation = 1;
};
QtImageHeader ReadQtImageHeader(const QByteArray &data, QtImageFormat format, const QString &file);

// Decodes the data upright (turned by `orientation`), in a 32-bit format (ARGB32 where it has
// alpha), at `uprightSize` (aspect not kept) or at full size where that is empty. An 8-bit PNG
// is scaled row by row as it is read, so a huge one never exists whole in memory. Throws
// PictureError for damaged, truncated or oversized data, or a decode over its memory budget.
QImage DecodeQtImage(const QByteArray &data, QtImageFormat format, const QString &file, int orientation = 1,
                     const QSize &uprightSize = QSize());

}  // namespace lumetta
