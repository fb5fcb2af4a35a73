// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

// Pictures made by the tests themselves, with libjpeg, giflib and Qt.
namespace testpictures {

enum class JpegColours { Rgb, Grey, AdobeCmyk };

// Encodes an RGB32 image as a JPEG (baseline or progressive). For AdobeCmyk the image's red,
// green and blue become inverted C, M, Y with K at full.
QByteArray MakeJpeg(const QImage &image, int quality = 95, bool progressive = false,
                    JpegColours colours = JpegColours::Rgb);

// Encodes an RGB32 image as a progressive JPEG with the given scan script.
QByteArray MakeJpegWithScans(const QImage &image, const std::vector<jpeg_scan_info> &scans);

struct GifFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<unsigned char> pixels;  // width * height indices, rows in display order
    bool interlaced = false;
    int transparent = -1;
};

// A GIF89a with the given logical screen, global palette (a power of two of entries) and frames.
QByteArray MakeGif(int screenWidth, int screenHeight, const QList<QRgb> &palette, const std::vector<GifFrame> &frames);

QByteArray MakeBmp(const QImage &image);
// Writes a BMP of one colour to path and returns path (empty when it cannot be written).
QString WriteFlatBmp(const QString &path, const QSize &size, const QColor &colour);

// An RGB32 picture of opaque noise, the same for every call with the same seed.
QImage NoisePicture(int width, int height, quint32 seed);

// Overwrites big-endian 16-bit values at `offset`.
void PutBigEndian16(QByteArray &data, qsizetype offset, int value);
// Offset of the first JPEG start-of-frame segment's height field.
qsizetype JpegSofHeightOffset(const QByteArray &jpeg);

// Writes data to a fresh file in a temporary folder kept for the test run; returns its path.
QString WriteTemp(const QString &name, const QByteArray &data);

}  // namespace testpictures
