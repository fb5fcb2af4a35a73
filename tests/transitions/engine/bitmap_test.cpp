// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/bitmap.h"
#include "transitions/engine/noise_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace lumetta {

namespace {

TEST(Bitmap, SystemPaletteIsTheCubeThenGreys)
{
    const QVector<QRgb> &palette = SystemPalette();
    ASSERT_EQ(palette.size(), 256);
    EXPECT_EQ(palette[0], qRgb(0, 0, 0));
    EXPECT_EQ(palette[1], qRgb(0, 0, 51));
    EXPECT_EQ(palette[6], qRgb(0, 51, 0));
    EXPECT_EQ(palette[215], qRgb(255, 255, 255));
    for (int i = 216; i < 256; ++i) {
        EXPECT_EQ(qRed(palette[i]), qGreen(palette[i]));
        EXPECT_EQ(qRed(palette[i]), qBlue(palette[i]));
        if (i > 216) {
            EXPECT_GT(qRed(palette[i]), qRed(palette[i - 1]));
        }
    }
}

TEST(Bitmap, NearestPaletteIndexMatchesAFullSearchForEveryColour)
{
    // All 2^24 colours, the full search done one red and green at a time over the whole palette.
    const QVector<QRgb> &palette = SystemPalette();
    const int n = int(palette.size());
    std::vector<int> red(n), green(n), blue(n), partial(n);
    for (int i = 0; i < n; ++i) {
        red[i] = qRed(palette[i]);
        green[i] = qGreen(palette[i]);
        blue[i] = qBlue(palette[i]);
    }
    int ties = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int i = 0; i < n; ++i)
                partial[i] = (r - red[i]) * (r - red[i]) + (g - green[i]) * (g - green[i]);
            for (int b = 0; b < 256; ++b) {
                int best = 0, bestDistance = INT32_MAX, count = 0;
                for (int i = 0; i < n; ++i) {
                    const int d = partial[i] + (b - blue[i]) * (b - blue[i]);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                        count = 1;
                    } else if (d == bestDistance) {
                        ++count;
                    }
                }
                ties += count > 1;
                ASSERT_EQ(NearestPaletteIndex(qRgb(r, g, b)), best) << r << ' ' << g << ' ' << b;
            }
        }
    }
    // Ties between entries occur, and the lowest index wins them.
    EXPECT_GT(ties, 0);
}

TEST(Bitmap, FormatsAndConversion)
{
    struct Case
    {
        PixelFormat format;
        QImage::Format image;
    };
    const Case cases[] = {
        {pf1bit, QImage::Format_Mono},   {pf8bit, QImage::Format_Indexed8}, {pf15bit, QImage::Format_RGB555},
        {pf16bit, QImage::Format_RGB16}, {pf24bit, QImage::Format_RGB888},  {pf32bit, QImage::Format_RGB32},
    };
    QImage source(5, 3, QImage::Format_ARGB32);
    source.fill(qRgba(255, 0, 0, 0));
    for (const Case &c : cases) {
        const QImage converted = ConvertToPixelFormat(source, c.format);
        EXPECT_EQ(converted.format(), c.image);
        EXPECT_EQ(PixelFormatOfImage(converted), c.format);
        EXPECT_EQ(NewBitmap(7, 2, c.format).size(), QSize(7, 2));
    }
    // 32 bits keep the top byte at 0xFF, also from a transparent source.
    EXPECT_EQ(ConvertToPixelFormat(source, pf32bit).pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(*reinterpret_cast<const quint32 *>(NewBitmap(1, 1, pf32bit).constScanLine(0)), 0xFF000000u);
    const QImage indexed = ConvertToPixelFormat(source, pf8bit);
    EXPECT_EQ(indexed.colorTable(), SystemPalette());
    EXPECT_EQ(indexed.pixelIndex(4, 2), 180);  // (255, 0, 0) = cube entry 5 * 36
}

TEST(Bitmap, ScreenFormatFollowsTheBitsOverride)
{
    const std::pair<int, PixelFormat> cases[] = {
        {8, pf8bit}, {15, pf15bit}, {16, pf16bit}, {24, pf24bit}, {32, pf32bit}};
    for (const auto &[bits, format] : cases) {
        ASSERT_TRUE(SetScreenBitsPerPixel(bits));
        EXPECT_EQ(ScreenPixelFormat(), format);
        EXPECT_EQ(ImageFormatOf(pfDevice), ImageFormatOf(format));
    }
    EXPECT_FALSE(SetScreenBitsPerPixel(4));
    SetScreenBitsPerPixel(0);
    EXPECT_EQ(ScreenPixelFormat(), pf32bit);  // the offscreen screen
}

// CopyRect against a per-pixel copy, on every format, with clipping on all sides.
TEST(Bitmap, CopyRectClipsAndCopiesPixels)
{
    std::mt19937 generator(3);
    QImage noise(13, 9, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | (generator() & 0xFFFFFF));
    const QRect rects[] = {QRect(0, 0, 13, 9), QRect(3, 2, 5, 4), QRect(-2, -3, 6, 6), QRect(10, 7, 9, 9)};
    const QPoint targets[] = {QPoint(0, 0), QPoint(1, 3), QPoint(-1, 4), QPoint(8, 6)};
    for (PixelFormat format : {pf1bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        const QImage src = ConvertToPixelFormat(noise, format);
        for (const QRect &rect : rects) {
            for (const QPoint &to : targets) {
                QImage dst = NewBitmap(11, 8, format);
                CopyRect(dst, to, src, rect);
                for (int y = 0; y < dst.height(); ++y)
                    for (int x = 0; x < dst.width(); ++x) {
                        const QPoint from = QPoint(x, y) - to + rect.topLeft();
                        const bool inside = rect.contains(from) && src.rect().contains(from);
                        const QRgb expected = inside ? src.pixel(from) : NewBitmap(1, 1, format).pixel(0, 0);
                        ASSERT_EQ(dst.pixel(x, y), expected) << format << " " << x << "," << y;
                    }
            }
        }
    }
}

TEST(Bitmap, CopyRectConvertsBetweenFormatsAndFillRectFills)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(qRgb(0, 0, 255));
    QImage dst = NewBitmap(4, 4, pf8bit);
    CopyRect(dst, src, QRect(1, 1, 2, 2));
    EXPECT_EQ(dst.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0, 0, 0));
    for (PixelFormat format : {pf8bit, pf16bit, pf24bit, pf32bit}) {
        QImage image = NewBitmap(5, 5, format);
        FillRect(image, QRect(1, 1, 10, 2), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(4, 2), qRgb(255, 255, 255)) << format;
        EXPECT_EQ(image.pixel(4, 3), qRgb(0, 0, 0)) << format;
        EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0)) << format;
    }
    EXPECT_EQ(RectLTRB(2, 3, 7, 4), QRect(2, 3, 5, 1));
    EXPECT_EQ(RgbOfColor(0x00D5E7EA), qRgb(0xEA, 0xE7, 0xD5));
}

}  // namespace

// Frame buffers start on a 64-byte boundary, keep QImage's stride and share nothing: a copy
// written to leaves its original alone.
TEST(Bitmap, FrameBuffersAreAlignedAndOwnTheirPixels)
{
    for (PixelFormat format : {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        const QImage fresh = NewBitmap(37, 5, format);
        ASSERT_FALSE(fresh.isNull());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(fresh.constBits()) % 64, 0u) << format;
        EXPECT_EQ(fresh.bytesPerLine(), QImage(37, 5, ImageFormatOf(format)).bytesPerLine()) << format;
        const QImage original = ConvertToPixelFormat(NoisePicture(QSize(37, 5), 3), format);
        QImage copy = AlignedCopy(original);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(copy.constBits()) % 64, 0u) << format;
        EXPECT_EQ(copy, original) << format;
        EXPECT_EQ(copy.colorTable(), original.colorTable()) << format;
        FillRect(copy, copy.rect(), qRgb(0, 0, 0));
        EXPECT_EQ(original, ConvertToPixelFormat(NoisePicture(QSize(37, 5), 3), format)) << format;
    }
    EXPECT_TRUE(AlignedCopy(QImage()).isNull());
    EXPECT_TRUE(NewBitmap(0, 4, pf32bit).isNull());
    EXPECT_TRUE(NewBitmap(4, 4, pf4bit).isNull());
}

}  // namespace lumetta
