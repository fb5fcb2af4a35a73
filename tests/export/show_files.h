// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/show_project.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <vector>

// Shows, pictures and sounds the export tests make for themselves.
namespace testshows {

// A show of `pictures`: automatic every `seconds`, pictures at their own size on a plain
// background of `background` (colour text), no caption bar, no shadow, no music, not looping,
// effects from `effects`.
lumetta::ShowProject MakeShow(const QStringList &pictures, int seconds, const QString &background,
                              const QStringList &effects);

// A BMP of one colour.
QString WriteSolidBmp(const QString &name, QSize size, QColor colour);

// A 48 kHz 16-bit stereo WAV of the interleaved samples.
QString WriteStereoWav(const QString &name, const std::vector<std::int16_t> &samples);

// Saves the project as a .zut file; returns its path.
QString WriteProjectFile(const lumetta::ShowProject &project, const QString &name);

// What a temporary STREAM holds, as text; closes it.
QString ReadAndClose(std::FILE *stream);

}  // namespace testshows
