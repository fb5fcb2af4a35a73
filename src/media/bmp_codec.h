// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lumetta {

// Decodes BMP data (1, 4, 8, 16, 24 and 32 bits, RLE and bit-field variants) through Qt's
// reader. Throws PictureError (naming `file`) for data that is not a BMP, is truncated or
// corrupt, or declares more than kMaxPicturePixels.
QImage DecodeBmp(const QByteArray &data, const QString &file);

// Writes an image as a complete BMP file (file header, info header, palette, pixels).
QByteArray EncodeBmp(const QImage &image, const QString &file);

}  // namespace lumetta
