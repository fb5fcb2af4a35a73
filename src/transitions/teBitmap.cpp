#include "transitions/teBitmap.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstring>

namespace {

int g_bitsOverride = 0;

constexpr int kCubeLevels = 6;
constexpr int kCubeSize = kCubeLevels * kCubeLevels * kCubeLevels;
constexpr int kGreyCount = 256 - kCubeSize;

int greyLevel(int i) { return (255 * (i + 1) + 20) / (kGreyCount + 1); }

QVector<QRgb> makeSystemPalette()
{
    QVector<QRgb> palette;
    palette.reserve(256);
    for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
            for (int b = 0; b < kCubeLevels; ++b)
                palette.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < kGreyCount; ++i)
        palette.append(qRgb(greyLevel(i), greyLevel(i), greyLevel(i)));
    return palette;
}

int square(int v) { return v * v; }

int distance(QRgb a, QRgb b)
{
    return square(qRed(a) - qRed(b)) + square(qGreen(a) - qGreen(b)) + square(qBlue(a) - qBlue(b));
}

// Replicates the bytes of one pixel of format across a row segment.
void fillBytes(uchar *row, int count, const uchar *pixel, int bytes)
{
    for (int i = 0; i < count; ++i)
        std::memcpy(row + i * bytes, pixel, size_t(bytes));
}

QImage toIndexed8(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(SystemPalette());
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        QRgb last = src[0] ^ 1;
        uchar lastIndex = 0;
        for (int x = 0; x < rgb.width(); ++x) {
            if (src[x] != last) {
                last = src[x];
                lastIndex = uchar(NearestPaletteIndex(last));
            }
            dst[x] = lastIndex;
        }
    }
    return out;
}

}  // namespace

int PixelFormatBits(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    case pfDevice: return PixelFormatBits(ScreenPixelFormat());
    case pfCustom: break;
    }
    return 0;
}

QImage::Format ImageFormatOf(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return QImage::Format_Mono;
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_RGB888;
    case pf32bit: return QImage::Format_RGB32;
    case pfDevice: return ImageFormatOf(ScreenPixelFormat());
    case pf4bit:
    case pfCustom: break;
    }
    return QImage::Format_Invalid;
}

int ScreenBitsPerPixel()
{
    if (g_bitsOverride)
        return g_bitsOverride;
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        return 32;
    switch (screen->depth()) {
    case 8: return 8;
    case 15: return 15;
    case 16: return 16;
    default: return 32;  // depth 24 is stored in 32-bit words
    }
}

bool SetScreenBitsPerPixel(int bits)
{
    if (bits != 0 && bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return false;
    g_bitsOverride = bits;
    return true;
}

TPixelFormat ScreenPixelFormat()
{
    switch (ScreenBitsPerPixel()) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 15: return pf15bit;
    case 16: return pf16bit;
    case 32: return pf32bit;
    default: return pf24bit;
    }
}

const QVector<QRgb> &SystemPalette()
{
    static const QVector<QRgb> palette = makeSystemPalette();
    return palette;
}

int NearestPaletteIndex(QRgb rgb)
{
    // The cube is a grid, so its nearest point is the nearest level per channel; the greys lie on
    // the diagonal, so the nearest grey is the one nearest to the channel mean.
    auto level = [](int v) { return (v + 25) / 51; };
    const int cube = (level(qRed(rgb)) * kCubeLevels + level(qGreen(rgb))) * kCubeLevels + level(qBlue(rgb));
    const QVector<QRgb> &palette = SystemPalette();
    int best = cube;
    int bestDistance = distance(rgb, palette[cube]);
    const int mean = (qRed(rgb) + qGreen(rgb) + qBlue(rgb)) / 3;
    int greyIndex = std::clamp(mean * (kGreyCount + 1) / 255 - 1, 0, kGreyCount - 1);
    for (int i = std::max(0, greyIndex - 2); i <= std::min(kGreyCount - 1, greyIndex + 2); ++i) {
        const int d = distance(rgb, palette[kCubeSize + i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = kCubeSize + i;
        }
    }
    return best;
}

QImage NewBitmap(int width, int height, TPixelFormat format, const QVector<QRgb> &palette)
{
    QImage image(std::max(0, width), std::max(0, height), ImageFormatOf(format));
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

QImage ConvertToPixelFormat(const QImage &image, TPixelFormat format)
{
    const QImage::Format target = ImageFormatOf(format);
    if (image.isNull() || target == QImage::Format_Invalid)
        return {};
    if (target == QImage::Format_Indexed8) {
        if (image.format() == QImage::Format_Indexed8 && image.colorTable() == SystemPalette())
            return image;
        return toIndexed8(image);
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

TPixelFormat PixelFormatOfImage(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Mono: return pf1bit;
    case QImage::Format_Indexed8: return pf8bit;
    case QImage::Format_RGB555: return pf15bit;
    case QImage::Format_RGB16: return pf16bit;
    case QImage::Format_RGB888: return pf24bit;
    case QImage::Format_RGB32: return pf32bit;
    default: return pfCustom;
    }
}

void CopyRect(QImage &dst, QPoint dstPos, const QImage &src, const QRect &srcRect)
{
    // Clip against the source, then against the destination, moving both corners together.
    QRect from = srcRect.intersected(src.rect());
    QPoint to = dstPos + (from.topLeft() - srcRect.topLeft());
    const QRect target = QRect(to, from.size()).intersected(dst.rect());
    if (target.isEmpty())
        return;
    from = QRect(from.topLeft() + (target.topLeft() - to), target.size());
    to = target.topLeft();

    if (src.format() != dst.format()
        || (dst.colorCount() > 0 && src.colorTable() != dst.colorTable())) {
        QImage piece = src.copy(from);
        piece = ConvertToPixelFormat(piece, PixelFormatOfImage(dst));
        if (piece.format() != dst.format() || (dst.colorCount() > 0 && piece.colorTable() != dst.colorTable()))
            piece = piece.convertToFormat(dst.format(), dst.colorTable());
        CopyRect(dst, to, piece, piece.rect());
        return;
    }
    if (dst.depth() == 1) {
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x)
                dst.setPixel(to.x() + x, to.y() + y, src.pixelIndex(from.x() + x, from.y() + y));
        return;
    }
    const int bytes = dst.depth() / 8;
    const qsizetype stride = dst.bytesPerLine();
    uchar *out = dst.bits() + to.y() * stride + to.x() * bytes;
    const uchar *source = src.constBits() + from.y() * src.bytesPerLine() + from.x() * bytes;
    if (stride == src.bytesPerLine() && from.x() == 0 && to.x() == 0 && from.width() == dst.width()) {
        // Whole rows of equal layout are one block.
        std::memcpy(out, source, size_t(stride) * size_t(from.height()));
        return;
    }
    for (int y = 0; y < from.height(); ++y)
        std::memcpy(out + y * stride, source + y * src.bytesPerLine(), size_t(from.width() * bytes));
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
        fillBytes(image.scanLine(y) + area.left() * bytes, area.width(), bytesOfPixel, bytes);
}
