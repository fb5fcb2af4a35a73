// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/wav_files.h"

#include "support/picture_files.h"

#include <QByteArray>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace testsounds {

QString WriteWav(const QString &name, int milliseconds, int frequency)
{
    constexpr int kRate = 22050;
    const int samples = kRate * milliseconds / 1000;
    QByteArray data(44 + samples * 2, '\0');
    auto *bytes = reinterpret_cast<uchar *>(data.data());
    std::memcpy(bytes, "RIFF", 4);
    qToLittleEndian<quint32>(quint32(data.size() - 8), bytes + 4);
    std::memcpy(bytes + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, bytes + 16);
    qToLittleEndian<quint16>(1, bytes + 20);  // PCM
    qToLittleEndian<quint16>(1, bytes + 22);  // mono
    qToLittleEndian<quint32>(kRate, bytes + 24);
    qToLittleEndian<quint32>(kRate * 2, bytes + 28);  // bytes per second
    qToLittleEndian<quint16>(2, bytes + 32);  // bytes per frame
    qToLittleEndian<quint16>(16, bytes + 34);
    std::memcpy(bytes + 36, "data", 4);
    qToLittleEndian<quint32>(quint32(samples * 2), bytes + 40);
    for (int i = 0; i < samples; ++i) {
        const double value = 8000 * std::sin(2 * M_PI * frequency * i / kRate);
        qToLittleEndian<qint16>(qint16(value), bytes + 44 + i * 2);
    }
    return testpictures::WriteTemp(name, data);
}

}  // namespace testsounds
