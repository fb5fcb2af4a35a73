// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace testsounds {

// Writes a 16-bit mono PCM WAV file (RIFF header and a sine tone) lasting `milliseconds`
// into the tests' temporary folder; returns its path.
QString WriteWav(const QString &name, int milliseconds, int frequency = 440);

}  // namespace testsounds
