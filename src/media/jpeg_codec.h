// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// Reads the full size from the header of JPEG data. Throws PictureError (naming `file`) for
// data that is not a JPEG or declares more than kMaxPicturePixels.
QSize ReadJpegSize(const QByteArray &data, const QString &file);

// The size libjpeg's DCT scaling gives at 1/denominator (1, 2, 4 or 8): each side divided
// and rounded up.
QSize JpegScaledSize(QSize full, int denominator);

// The largest denominator, from `smallest` up to 8, whose scaled size still covers `target`
// on both sides; `smallest` when none does.
int JpegDenominatorCovering(QSize full, QSize target, int smallest = 1);

// Decodes JPEG data at 1/denominator of each side (1, 2, 4 or 8) by DCT scaling and turns it
// by the EXIF `orientation` (1 to 8) while decoding. The result is Format_RGB32. Throws
// PictureError for corrupt or truncated data.
QImage DecodeJpeg(const QByteArray &data, int denominator, const QString &file, int orientation = 1);

}  // namespace lumetta
