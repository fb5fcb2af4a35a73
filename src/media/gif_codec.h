// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lumetta {

// Decodes the first frame of GIF data onto its logical screen, as a Format_Indexed8 image
// whose colour table has 256 entries; the transparent colour (and any part of the screen
// the frame leaves uncovered) has alpha 0. Interlaced frames come out in display order.
// Throws PictureError (naming `file`) for data that is not a GIF, is truncated or corrupt,
// or exceeds kMaxPicturePixels.
QImage DecodeGif(const QByteArray &data, const QString &file);

// Encodes an image as a GIF89a file of one frame. An Indexed8 image keeps its pixels and
// colours exactly (table cut to the indices in use); a colour with alpha 0 becomes the
// transparent colour. Other formats are converted to Indexed8 first. Throws PictureError
// for images larger than a GIF can hold (65535 pixels a side).
QByteArray EncodeGif(const QImage &image, const QString &file);

}  // namespace lumetta
