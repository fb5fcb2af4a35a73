// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/core_conversions.h"
#include "transitions/engine/noise_picture.h"

#include <QImage>

#include <cstdint>

// Test pictures for the pixel effects: every screen format, filled with noise or a pattern
// whose pixels tell where they came from.
namespace lumetta::test {

inline const QImage::Format kScreenFormats[] = {QImage::Format_Indexed8, QImage::Format_RGB555, QImage::Format_RGB16,
                                                QImage::Format_RGB888, QImage::Format_RGB32};

// A picture whose bytes are noise from seed (for Indexed8 a grey palette is attached).
inline QImage NoiseImage(int w, int h, QImage::Format format, std::uint32_t seed)
{
    return NoisePicture(QSize(w, h), seed, format);
}

// Raw bytes of pixel (x, y), as a number (up to 4 bytes).
inline std::uint32_t RawPixel(const QImage &image, int x, int y)
{
    const int bpp = (image.depth() + 7) / 8;
    const uchar *p = image.constScanLine(y) + qsizetype(x) * bpp;
    std::uint32_t v = 0;
    for (int i = 0; i < bpp; ++i)
        v |= std::uint32_t(p[i]) << (8 * i);
    return v;
}

// Keeps the kernel switch as it was found.
struct ReferenceSwitch
{
    explicit ReferenceSwitch(bool on);
    ~ReferenceSwitch();
    bool saved;
};

}  // namespace lumetta::test
