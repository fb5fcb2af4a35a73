// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/bitmap.h"

#include "transitions/core/pixels/copy_pixels.h"
#include "transitions/core/pixels/frame_memory.h"
#include "transitions/engine/core_conversions.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace lumetta {

namespace {

int gBitsOverride = 0;

// An image of uninitialised pixels in frame memory of its own (frame_memory.h); rows keep
// QImage's own stride.
QImage AlignedImage(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0 || format == QImage::Format_Invalid)
        return QImage(std::max(0, width), std::max(0, height), format);
    // Bits as QImage stores them (QPixelFormat counts 15 for RGB555).
    const int depth = QImage(1, 1, format).depth();
    const qsizetype stride = (qsizetype(width) * depth + 31) / 32 * 4;
    if (stride > (qsizetype(1) << 40) / height)
        return {};
    void *data = lumetta::TakeFrameMemory(std::size_t(stride) * std::size_t(height));
    if (!data)
        return {};
    return QImage(static_cast<uchar *>(data), width, height, stride, format, &lumetta::GiveBackFrameMemory, data);
}

constexpr int kCubeLevels = 6;
constexpr int kCubeSize = kCubeLevels * kCubeLevels * kCubeLevels;
constexpr int kGreyCount = 256 - kCubeSize;

int GreyLevel(int i)
{
    return (255 * (i + 1) + 20) / (kGreyCount + 1);
}

QVector<QRgb> MakeSystemPalette()
{
    QVector<QRgb> palette;
    palette.reserve(256);
    for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
            for (int b = 0; b < kCubeLevels; ++b)
                palette.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < kGreyCount; ++i)
        palette.append(qRgb(GreyLevel(i), GreyLevel(i), GreyLevel(i)));
    return palette;
}

int Square(int v)
{
    return v * v;
}

// Replicates the bytes of one pixel of format across a row segment.
void FillBytes(uchar *row, int count, const uchar *pixel, int bytes)
{
    for (int i = 0; i < count; ++i)
        std::memcpy(row + i * bytes, pixel, size_t(bytes));
}

// Tables for NearestPaletteIndex. The cube is a grid, so its nearest point is the nearest level
// per channel; for the greys, |c - (G, G, G)|^2 = |c|^2 - 2 G (r + g + b) + 3 G^2 depends on the
// colour only through its channel sum, so the nearest grey (lowest index on ties) is a table of
// the sum.
struct NearestTables
{
    std::uint8_t level[256];
    std::uint16_t levelError[256];
    std::uint8_t greyOfSum[3 * 255 + 1];
    std::uint8_t greyValue[kGreyCount];

    NearestTables()
    {
        for (int v = 0; v < 256; ++v) {
            level[v] = std::uint8_t((v + 25) / 51);
            levelError[v] = std::uint16_t(Square(v - level[v] * 51));
        }
        for (int i = 0; i < kGreyCount; ++i)
            greyValue[i] = std::uint8_t(GreyLevel(i));
        for (int sum = 0; sum <= 3 * 255; ++sum) {
            int best = 0;
            int bestCost = INT32_MAX;
            for (int i = 0; i < kGreyCount; ++i) {
                const int g = GreyLevel(i);
                const int cost = 3 * g * g - 2 * g * sum;
                if (cost < bestCost) {
                    bestCost = cost;
                    best = i;
                }
            }
            greyOfSum[sum] = std::uint8_t(best);
        }
    }
};

const NearestTables &SharedNearestTables()
{
    static const NearestTables kTables;
    return kTables;
}

inline uchar NearestIndex(const NearestTables &t, QRgb rgb)
{
    const int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
    const int cube = (t.level[r] * kCubeLevels + t.level[g]) * kCubeLevels + t.level[b];
    const int cubeDistance = t.levelError[r] + t.levelError[g] + t.levelError[b];
    const int grey = t.greyOfSum[r + g + b];
    const int v = t.greyValue[grey];
    // The cube comes first in the palette, so it wins a tie.
    return uchar(Square(r - v) + Square(g - v) + Square(b - v) < cubeDistance ? kCubeSize + grey : cube);
}

QImage ToIndexed8(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(SystemPalette());
    const NearestTables &tables = SharedNearestTables();
    const int width = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < width; ++x)
            dst[x] = NearestIndex(tables, src[x]);
    }
    return out;
}

}  // namespace

int PixelFormatBits(PixelFormat format)
{
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    case pf32bit:
        return 32;
    case pfDevice:
        return PixelFormatBits(ScreenPixelFormat());
    case pfCustom:
        break;
    }
    return 0;
}

QImage::Format ImageFormatOf(PixelFormat format)
{
    switch (format) {
    case pf1bit:
        return QImage::Format_Mono;
    case pf8bit:
        return QImage::Format_Indexed8;
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_RGB888;
    case pf32bit:
        return QImage::Format_RGB32;
    case pfDevice:
        return ImageFormatOf(ScreenPixelFormat());
    case pf4bit:
    case pfCustom:
        break;
    }
    return QImage::Format_Invalid;
}

int ScreenBitsPerPixel()
{
    if (gBitsOverride)
        return gBitsOverride;
    const QScreen *screen =
        qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 32;
    switch (screen->depth()) {
    case 8:
        return 8;
    case 15:
        return 15;
    case 16:
        return 16;
    default:
        return 32;  // depth 24 is stored in 32-bit words
    }
}

bool SetScreenBitsPerPixel(int bits)
{
    if (bits != 0 && bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return false;
    gBitsOverride = bits;
    return true;
}

PixelFormat ScreenPixelFormat()
{
    switch (ScreenBitsPerPixel()) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 15:
        return pf15bit;
    case 16:
        return pf16bit;
    case 32:
        return pf32bit;
    default:
        return pf24bit;
    }
}

const QVector<QRgb> &SystemPalette()
{
    static const QVector<QRgb> kPalette = MakeSystemPalette();
    return kPalette;
}

int NearestPaletteIndex(QRgb rgb)
{
    return NearestIndex(SharedNearestTables(), rgb);
}

QImage NewBitmap(int width, int height, PixelFormat format, const QVector<QRgb> &palette)
{
    QImage image = AlignedImage(width, height, ImageFormatOf(format));
    if (image.isNull())
        return image;
    if (image.format() == QImage::Format_Indexed8)
        image.setColorTable(palette.isEmpty() ? SystemPalette() : palette);
    else if (image.format() == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    if (image.format() == QImage::Format_RGB32)
        image.fill(0xFF000000u);
    else
        image.fill(0);
    return image;
}

QImage AlignedCopy(const QImage &image)
{
    if (image.isNull())
        return image;
    QImage out = AlignedImage(image.width(), image.height(), image.format());
    if (out.isNull())
        return out;
    out.setColorTable(image.colorTable());
    out.setDevicePixelRatio(image.devicePixelRatio());
    const qsizetype stride = out.bytesPerLine();
    uchar *to = out.bits();
    if (image.bytesPerLine() == stride) {
        std::memcpy(to, image.constBits(), size_t(stride) * size_t(image.height()));
    } else {
        const qsizetype line = std::min(stride, image.bytesPerLine());
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(to + y * stride, image.constScanLine(y), size_t(line));
    }
    return out;
}

QImage ConvertToPixelFormat(const QImage &image, PixelFormat format)
{
    const QImage::Format target = ImageFormatOf(format);
    if (image.isNull() || target == QImage::Format_Invalid)
        return {};
    if (target == QImage::Format_Indexed8) {
        if (image.format() == QImage::Format_Indexed8 && image.colorTable() == SystemPalette())
            return image;
        return ToIndexed8(image);
    }
    if (target == QImage::Format_Mono) {
        // White where the grey level is at least half, with the table every mask uses.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        QImage out = NewBitmap(rgb.width(), rgb.height(), pf1bit);
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                if (qGray(rgb.pixel(x, y)) >= 128)
                    out.setPixel(x, y, 1);
        return out;
    }
    if (image.format() == target)
        return image;
    if (target == QImage::Format_RGB32 || target == QImage::Format_RGB888 || target == QImage::Format_RGB16
        || target == QImage::Format_RGB555)
        return image.convertToFormat(QImage::Format_RGB32).convertToFormat(target);
    return image.convertToFormat(target);
}

PixelFormat PixelFormatOfImage(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
        return pf1bit;
    case QImage::Format_Indexed8:
        return pf8bit;
    case QImage::Format_RGB555:
        return pf15bit;
    case QImage::Format_RGB16:
        return pf16bit;
    case QImage::Format_RGB888:
        return pf24bit;
    case QImage::Format_RGB32:
        return pf32bit;
    default:
        return pfCustom;
    }
}

void CopyRect(QImage &dst, QPoint dstPos, const QImage &src, const QRect &srcRect)
{
    const PixelCopy copy = ClipPixelCopy({dst.width(), dst.height()}, PointOf(dstPos), {src.width(), src.height()},
                                         HalfOpenRectOf(srcRect));
    if (copy.from.IsEmpty())
        return;
    if (src.format() != dst.format() || (dst.colorCount() > 0 && src.colorTable() != dst.colorTable())) {
        QImage piece = src.copy(QRectOf(copy.from));
        piece = ConvertToPixelFormat(piece, PixelFormatOfImage(dst));
        if (piece.format() != dst.format() || (dst.colorCount() > 0 && piece.colorTable() != dst.colorTable()))
            piece = piece.convertToFormat(dst.format(), dst.colorTable());
        CopyRect(dst, QPointOf(copy.to), piece, piece.rect());
        return;
    }
    CopyPixels(WritableView(dst), copy.to, ReadView(src), copy.from);
}

void FillRect(QImage &image, const QRect &rect, QRgb rgb)
{
    const QRect area = rect.intersected(image.rect());
    if (area.isEmpty())
        return;
    if (image.depth() == 1) {
        const int index = qGray(rgb) >= 128 ? 1 : 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                image.setPixel(x, y, uint(index));
        return;
    }
    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixel(0, 0, rgb | 0xFF000000u);
    const QImage pixel = image.format() == QImage::Format_Indexed8
                             ? QImage(1, 1, QImage::Format_Indexed8)
                             : ConvertToPixelFormat(one, PixelFormatOfImage(image));
    uchar index = 0;
    const uchar *bytesOfPixel = pixel.constScanLine(0);
    if (image.format() == QImage::Format_Indexed8) {
        index = uchar(NearestPaletteIndex(rgb));
        bytesOfPixel = &index;
    }
    const int bytes = image.depth() / 8;
    for (int y = area.top(); y <= area.bottom(); ++y)
        FillBytes(image.scanLine(y) + area.left() * bytes, area.width(), bytesOfPixel, bytes);
}

}  // namespace lumetta
