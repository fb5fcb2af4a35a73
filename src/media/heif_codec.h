// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// HEIC and AVIF pictures through libheif. Sizes and pixels are upright: libheif applies the
// rotation and mirroring the file records.

// The size of the primary picture. Throws PictureError (naming `file`) for data that is not a
// HEIF file or declares more than kMaxPicturePixels.
QSize ReadHeifSize(const QByteArray &data, const QString &file);

// Decodes the primary picture as Format_RGB32 (ARGB32 when it has alpha). Throws PictureError
// for damaged, truncated or oversized data, or when no decoder for its compression is installed.
QImage DecodeHeif(const QByteArray &data, const QString &file);

}  // namespace lumetta
