// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace lumetta {

struct PngChunk
{
    QByteArrayView type;
    QByteArrayView data;
};

// Walks the chunks of PNG data after its signature (length, type, data, CRC each), up to and
// including IEND, until `visit` returns false. Returns false when a chunk runs past the end
// of the data: the file is truncated or its lengths are damaged.
bool WalkPngChunks(const QByteArray &png, const std::function<bool(const PngChunk &)> &visit);

// Whether PNG data's header declares Adam7 interlacing.
bool PngInterlaced(const QByteArray &png);

}  // namespace lumetta
