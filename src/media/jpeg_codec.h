#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// What a JPEG header declares: the full size and the size of a quarter-size decode
// (each side divided by 4 and rounded up, as libjpeg scales).
struct JpegHeader
{
    QSize full;
    QSize quarter;
};

// Reads the header of JPEG data. Throws PictureError (naming `file`) for data that is not a
// JPEG or declares more than kMaxPicturePixels.
JpegHeader readJpegHeader(const QByteArray &data, const QString &file);

// Decodes JPEG data at full size or, with `quarter`, at one quarter of each side by DCT
// scaling. The result is Format_RGB32. Throws PictureError for corrupt or truncated data.
QImage decodeJpeg(const QByteArray &data, bool quarter, const QString &file);

}  // namespace lumetta
