// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pixel formats, the screen's depth and the raw-row helpers every effect shares.
//
// A bitmap of the engine is a QImage in device pixels. The formats map as follows:
//   pf1bit  = Format_Mono (most significant bit leftmost; masks and patterns only)
//   pf8bit  = Format_Indexed8 with the fixed palette of SystemPalette()
//   pf15bit = Format_RGB555, pf16bit = Format_RGB16, pf24bit = Format_RGB888,
//   pf32bit = Format_RGB32 (top byte always 0xFF)
//   pfDevice = the screen's format.
// QPainter cannot paint on Format_Indexed8: copy pixels with CopyRect, which works on raw rows
// for every format.

#include "common/color_text.h"

#include <QImage>
#include <QRect>
#include <QVector>

#include <cstdint>

namespace lumetta {

enum PixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// Colours of effect descriptions are the program's one colour type; clNone stands for "the
// control's colour".
using lumetta::ColorRef;
constexpr ColorRef kClControlColor = lumetta::clNone;

// QRect from left, top, right, bottom with right and bottom exclusive (as the effect rules use).
inline QRect RectLTRB(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Bits a pixel takes in memory (0 for pfDevice and pfCustom).
int PixelFormatBits(PixelFormat format);

// The QImage format of a pixel format; pfDevice resolves to the screen's format.
QImage::Format ImageFormatOf(PixelFormat format);

// Storage bits of a screen pixel: LUMETTA_SCREEN_BPP when set at engine start, else from the screen.
int ScreenBitsPerPixel();

// Overrides the screen's bits per pixel (8, 15, 16, 24 or 32); 0 returns to the screen's value.
// Returns false for any other value.
bool SetScreenBitsPerPixel(int bits);

// The pixel format that matches ScreenBitsPerPixel().
PixelFormat ScreenPixelFormat();

// The fixed 256-colour palette used on 8-bit screens: the 6x6x6 cube of levels 0, 51, ..., 255
// (blue fastest), then greys filling the rest.
const QVector<QRgb> &SystemPalette();

// Index of the palette colour nearest to rgb (squared distance; first wins on ties).
int NearestPaletteIndex(QRgb rgb);

// A new bitmap of width x height in format (pfDevice: the screen's); pf8bit gets palette, or the
// system palette when palette is empty. Contents are zero. Its pixels start on a 64-byte boundary.
QImage NewBitmap(int width, int height, PixelFormat format, const QVector<QRgb> &palette = {});

// A copy of image, shared with no other image, whose pixels start on a 64-byte boundary. Frame
// buffers that are copied into one another are made so: a row copy between buffers at the same
// distance from a cache line keeps memcpy at full speed, while glibc's memcpy slows to a third
// on some processors when the target lies 16 bytes past the source, as buffers taken from the
// heap may.
QImage AlignedCopy(const QImage &image);

// image converted to format as screen pictures are: to 8 bits by the nearest system palette
// colour without dithering; 32 bits with the top byte 0xFF.
QImage ConvertToPixelFormat(const QImage &image, PixelFormat format);

// Pixel format a QImage holds (pfCustom for formats the engine does not use).
PixelFormat PixelFormatOfImage(const QImage &image);

// Copies srcRect of src to dst with its top-left at dstPos, clipped to both images. Same formats
// copy raw rows; other formats convert the piece first.
void CopyRect(QImage &dst, QPoint dstPos, const QImage &src, const QRect &srcRect);

// Copies the pixels of rect from src to the same place in dst.
inline void CopyRect(QImage &dst, const QImage &src, const QRect &rect)
{
    CopyRect(dst, rect.topLeft(), src, rect);
}

// Fills rect of image with the colour rgb (nearest palette index for 8 bits).
void FillRect(QImage &image, const QRect &rect, QRgb rgb);

// RGB of a ColorRef.
inline QRgb RgbOfColor(ColorRef color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace lumetta
