// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

// Pictures as today's cameras and phones write them, made by the tests: EXIF orientation tags
// (libexif), PNG, WebP and TIFF (Qt's image plugins), HEIC and AVIF (libheif).
namespace testpictures {

// "Exif\0\0" and a TIFF block whose IFD 0 holds an orientation tag of `value`.
QByteArray MakeExifBlock(int value, bool bigEndian = false);
// The JPEG with `app1` (an EXIF block) as an APP1 segment right after its start marker.
QByteArray WithJpegApp1(const QByteArray &jpeg, const QByteArray &app1);
// The PNG with an "eXIf" chunk (the TIFF block, without the "Exif" header) before its data.
QByteArray WithPngExif(const QByteArray &png, const QByteArray &exifBlock);
// A simple lossy WebP rewritten as an extended one with an "EXIF" chunk.
QByteArray WithWebpExif(const QByteArray &webp, const QByteArray &exifBlock);

// PNG, WebP or TIFF ("png", "webp", "tiff") through Qt's writers; a TIFF may carry an
// orientation tag (1 to 8).
QByteArray MakeQtPicture(const QImage &image, const char *format, int tiffOrientation = 1);

// HEIC (x265) or AVIF (aom) of an RGB32 image, recording `orientation` (1 to 8) as the file's
// rotation and mirroring. Sides should be even.
QByteArray MakeHeif(const QImage &image, bool avif, int orientation = 1, int quality = 90);

// The stored pixels a camera writes for the upright picture under EXIF `orientation`: turning
// them by that orientation gives `upright` back. Written from the tag's definition.
QImage StoredForOrientation(const QImage &upright, int orientation);

// Four flat quadrants (red, green, blue, white; top-left, top-right, bottom-left, bottom-right)
// that survive lossy coding, so a turned picture shows where each went.
QImage QuadrantPicture(int width, int height);

}  // namespace testpictures
