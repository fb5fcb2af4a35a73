// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/core_conversions.h"

namespace lumetta {

PixelLayout PixelLayoutOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
        return PixelLayout::Mono;
    case QImage::Format_Indexed8:
        return PixelLayout::Indexed8;
    case QImage::Format_RGB555:
        return PixelLayout::Rgb555;
    case QImage::Format_RGB16:
        return PixelLayout::Rgb565;
    case QImage::Format_RGB888:
        return PixelLayout::Rgb888;
    case QImage::Format_RGB32:
        return PixelLayout::Rgb32;
    default:
        return PixelLayout::Other;
    }
}

PixelView WritableView(QImage &image)
{
    return {image.bits(), image.width(), image.height(), image.bytesPerLine(), PixelLayoutOf(image.format())};
}

ConstPixelView ReadView(const QImage &image)
{
    return {image.constBits(), image.width(), image.height(), image.bytesPerLine(), PixelLayoutOf(image.format())};
}

}  // namespace lumetta
