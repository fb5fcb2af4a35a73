// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace lumetta {

// The EXIF orientation (1 to 8) a picture's metadata asks for, read with libexif. A picture
// without the tag, or whose EXIF block is damaged, reads as 1: metadata never stops a picture.

// From the APP1 "Exif" segment of JPEG data.
int JpegExifOrientation(const QByteArray &jpeg);
// From the "eXIf" chunk of PNG data.
int PngExifOrientation(const QByteArray &png);
// From the "EXIF" chunk of an extended WebP file.
int WebpExifOrientation(const QByteArray &webp);

}  // namespace lumetta
