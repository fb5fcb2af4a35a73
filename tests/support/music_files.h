// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace testsounds {

// Encodes a sine tone lasting `milliseconds` into the tests' temporary folder with the ffmpeg
// program, in the container and codec `name`'s extension calls for (".ogg" Vorbis, ".opus",
// ".flac", ".m4a" and ".aac" AAC, ".mp3", ".wma", ".wav"); returns its path.
QString WriteEncodedTone(const QString &name, int milliseconds);

// Writes a Standard MIDI File of one piano note lasting `milliseconds`; returns its path.
QString WriteMidi(const QString &name, int milliseconds);

}  // namespace testsounds
