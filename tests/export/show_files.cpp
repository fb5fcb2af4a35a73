// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/show_files.h"

#include "support/picture_files.h"

#include <QByteArray>
#include <QImage>
#include <QtEndian>

#include <cstring>

namespace testshows {

lumetta::ShowProject MakeShow(const QStringList &pictures, int seconds, const QString &background,
                              const QStringList &effects)
{
    using lumetta::ShowSettings;
    lumetta::ShowProject project;
    ShowSettings &settings = project.Settings();
    settings.Put(ShowSettings::AdvanceLine, QString::number(seconds));
    settings.Put(ShowSettings::PictureSizeLine, QStringLiteral("No"));
    settings.Put(ShowSettings::EffectsLine, QStringLiteral("Random"));
    settings.Put(ShowSettings::MusicLine, QStringLiteral("No music"));
    settings.Put(ShowSettings::BackgroundLine, background + QLatin1Char('_') + background);
    settings.Put(ShowSettings::LoopingLine, QStringLiteral("No"));
    settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("Color"));
    settings.Put(ShowSettings::PlacementLine, QStringLiteral("Tile"));
    settings.Put(ShowSettings::CaptionLine, QStringLiteral("No"));
    settings.Put(ShowSettings::ShadowLine, QStringLiteral("No"));
    project.Pictures() = pictures;
    project.EffectSelection() = effects;
    return project;
}

QString WriteSolidBmp(const QString &name, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return testpictures::WriteTemp(name, testpictures::MakeBmp(image));
}

QString WriteStereoWav(const QString &name, const std::vector<std::int16_t> &samples)
{
    constexpr int kRate = 48000;
    const int bytes = int(samples.size()) * 2;
    QByteArray data(44 + bytes, '\0');
    auto *out = reinterpret_cast<uchar *>(data.data());
    std::memcpy(out, "RIFF", 4);
    qToLittleEndian<quint32>(quint32(data.size() - 8), out + 4);
    std::memcpy(out + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, out + 16);
    qToLittleEndian<quint16>(1, out + 20);
    qToLittleEndian<quint16>(2, out + 22);
    qToLittleEndian<quint32>(kRate, out + 24);
    qToLittleEndian<quint32>(kRate * 4, out + 28);
    qToLittleEndian<quint16>(4, out + 32);
    qToLittleEndian<quint16>(16, out + 34);
    std::memcpy(out + 36, "data", 4);
    qToLittleEndian<quint32>(quint32(bytes), out + 40);
    for (std::size_t i = 0; i < samples.size(); ++i)
        qToLittleEndian<qint16>(samples[i], out + 44 + i * 2);
    return testpictures::WriteTemp(name, data);
}

QString WriteProjectFile(const lumetta::ShowProject &project, const QString &name)
{
    return testpictures::WriteTemp(name, project.ProjectText().join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

QString ReadAndClose(std::FILE *stream)
{
    std::rewind(stream);
    QByteArray text;
    char buffer[512];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, stream))
        text.append(buffer, qsizetype(read));
    std::fclose(stream);
    return QString::fromLocal8Bit(text);
}

}  // namespace testshows
