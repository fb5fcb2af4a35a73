#include "noise_picture.h"

#include <random>

QImage NoisePicture(QSize size, std::uint32_t seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 generator(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = 0xFF000000u | (generator() & 0xFFFFFFu);
    }
    return image;
}
