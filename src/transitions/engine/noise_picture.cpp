// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/noise_picture.h"

namespace lumetta {

namespace {

constexpr std::uint32_t kLow24 = 0xFFFFFF;

// A one-to-one scramble of 24-bit numbers: odd multipliers and right xor-shifts are each
// invertible modulo 2^24.
std::uint32_t Scramble24(std::uint32_t x)
{
    x = (x * 0x9E3779u) & kLow24;
    x ^= x >> 12;
    x = (x * 0x2C1B3Du) & kLow24;
    x ^= x >> 11;
    x = (x * 0x6A09E7u) & kLow24;
    x ^= x >> 13;
    return x;
}

}  // namespace

QImage NoisePicture(QSize size, std::uint32_t seed, QImage::Format format)
{
    QImage image(size, format);
    std::uint32_t count = seed * std::uint32_t(size.width()) * std::uint32_t(size.height());
    if (format == QImage::Format_RGB32) {
        for (int y = 0; y < image.height(); ++y) {
            auto *row = reinterpret_cast<std::uint32_t *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = 0xFF000000u | Scramble24(count++);
        }
        return image;
    }
    if (format == QImage::Format_Indexed8) {
        QList<QRgb> greys;
        for (int i = 0; i < 256; ++i)
            greys.append(qRgb(i, i, i));
        image.setColorTable(greys);
    }
    std::uint32_t bits = 0;
    int left = 0;
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (qsizetype i = 0; i < image.bytesPerLine(); ++i) {
            if (left == 0) {
                bits = Scramble24(count++);
                left = 3;
            }
            row[i] = uchar(bits);
            bits >>= 8;
            --left;
        }
    }
    return image;
}

}  // namespace lumetta
