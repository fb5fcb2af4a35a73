// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/png_chunks.h"

#include <QtEndian>

namespace lumetta {

bool WalkPngChunks(const QByteArray &png, const std::function<bool(const PngChunk &)> &visit)
{
    constexpr qsizetype kSignature = 8;
    constexpr qsizetype kFraming = 12;  // length, type and CRC
    qsizetype at = kSignature;
    while (at < png.size()) {
        if (png.size() - at < kFraming)
            return false;
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        if (length > quint32(png.size() - at - kFraming))
            return false;
        const PngChunk chunk{QByteArrayView(png.constData() + at + 4, 4),
                             QByteArrayView(png.constData() + at + 8, qsizetype(length))};
        if (!visit(chunk) || chunk.type == "IEND")
            return true;
        at += kFraming + qsizetype(length);
    }
    return true;
}

bool PngInterlaced(const QByteArray &png)
{
    // Signature, IHDR's length and type, then width, height, depth, colour type, compression, filter.
    constexpr int kInterlaceOffset = 8 + 8 + 12;
    return png.size() > kInterlaceOffset && png.at(kInterlaceOffset) != 0;
}

}  // namespace lumetta
