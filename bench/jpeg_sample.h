// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A photo-like JPEG (smooth shading, edges and fine grain; quality 90, 4:2:0) of the given
// size, the same for every call, so timings compare across runs and tools.
QByteArray makeSampleJpeg(int width, int height);
// The sample JPEG of the given size written once into a folder that lasts as long as the
// process; its path.
QString sampleJpegFile(int width, int height);
