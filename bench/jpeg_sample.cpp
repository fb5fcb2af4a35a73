// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_sample.h"

#include "support/picture_files.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>

QByteArray makeSampleJpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t grain = 12345;
    for (int row = 0; row < height; ++row) {
        const double y = row;
        auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int x = 0; x < width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = int(grain >> 28) - 8;
            const double shade = 0.5 + 0.5 * std::sin(x / 310.0) * std::cos(y / 270.0);
            const bool edge = (int(x / 97.0 + y / 143.0) % 7) == 0;
            const int r = int(40 + 180 * shade) + noise + (edge ? 30 : 0);
            const int g = int(60 + 120 * (1 - shade) + 40 * std::sin((x + y) / 53.0)) + noise;
            const int b = int(90 + 100 * std::cos(x / 41.0) * shade) + noise - (edge ? 30 : 0);
            pixels[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return testpictures::MakeJpeg(image, 90);
}

QString sampleJpegFile(int width, int height)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sample-%1x%2.jpg").arg(width).arg(height));
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(makeSampleJpeg(width, height));
    }
    return path;
}
