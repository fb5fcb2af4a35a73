// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/music_files.h"

#include "support/picture_files.h"

#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QtEndian>

#include <stdexcept>

namespace testsounds {

namespace {

// A MIDI variable-length quantity: seven bits a byte, high bit set on all but the last.
QByteArray VariableLength(quint32 value)
{
    QByteArray bytes(1, char(value & 0x7F));
    while (value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

}  // namespace

QString WriteEncodedTone(const QString &name, int milliseconds)
{
    static const QHash<QString, QStringList> kCodecs{{"ogg", {"-c:a", "libvorbis"}}, {"opus", {"-c:a", "libopus"}},
                                                     {"flac", {"-c:a", "flac"}},     {"m4a", {"-c:a", "aac"}},
                                                     {"aac", {"-c:a", "aac"}},       {"mp3", {"-c:a", "libmp3lame"}},
                                                     {"wma", {"-c:a", "wmav2"}},     {"wav", {"-c:a", "pcm_s16le"}}};
    const QString suffix = QFileInfo(name).suffix().toLower();
    const QString path = testpictures::WriteTemp(name, QByteArray());
    QStringList arguments{
        "-hide_banner", "-loglevel",
        "error",        "-y",
        "-f",           "lavfi",
        "-i",           QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(milliseconds / 1000.0)};
    arguments << kCodecs.value(suffix) << path;
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        throw std::runtime_error("ffmpeg could not write " + name.toStdString() + ": "
                                 + ffmpeg.readAllStandardError().toStdString());
    return path;
}

QString WriteMidi(const QString &name, int milliseconds)
{
    // 96 ticks a quarter note at the default 120 beats a minute: 96 ticks are 500 ms.
    const quint32 ticks = quint32(milliseconds) * 96 / 500;
    QByteArray track;
    track += QByteArray("\x00\xC0\x00", 3);  // piano
    track += QByteArray("\x00\x90\x3C\x64", 4);  // middle C on
    track += VariableLength(ticks) + QByteArray("\x80\x3C\x40", 3);
    track += QByteArray("\x00\xFF\x2F\x00", 4);  // end of track
    QByteArray file("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);
    file += "MTrk" + QByteArray(4, '\0');
    qToBigEndian<quint32>(quint32(track.size()), file.data() + file.size() - 4);
    file += track;
    return testpictures::WriteTemp(name, file);
}

}  // namespace testsounds
