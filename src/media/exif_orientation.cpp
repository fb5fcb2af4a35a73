// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/exif_orientation.h"

#include "media/orientation.h"
#include "media/png_chunks.h"

#include <QtEndian>

#include <libexif/exif-data.h>

#include <cstring>
#include <limits>

namespace lumetta {

namespace {

// The orientation tag of IFD 0 in data libexif reads: JPEG data or "Exif\0\0" and a TIFF block.
int OrientationOf(const uchar *data, qsizetype size)
{
    if (size <= 0)
        return kUpright;
    ExifData *exif = exif_data_new();
    if (!exif)
        return kUpright;
    // Loading as it stands: no mandatory tags added, no maker notes interpreted.
    exif_data_unset_option(exif, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(exif, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(exif, data, unsigned(std::min<qsizetype>(size, std::numeric_limits<unsigned>::max())));
    int orientation = kUpright;
    if (ExifEntry *entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2 && entry->data)
            orientation = ValidOrientation(exif_get_short(entry->data, exif_data_get_byte_order(exif)));
    }
    exif_data_unref(exif);
    return orientation;
}

// A TIFF block as found in PNG and WebP chunks, behind the header libexif looks for.
int OrientationOfTiffBlock(const char *block, qsizetype size)
{
    static constexpr char kHeader[] = "Exif\0\0";
    const qsizetype headerSize = sizeof kHeader - 1;
    QByteArray data;
    if (size >= headerSize && std::memcmp(block, kHeader, headerSize) == 0)
        data = QByteArray(block, size);
    else
        data = QByteArray(kHeader, headerSize) + QByteArray(block, size);
    return OrientationOf(reinterpret_cast<const uchar *>(data.constData()), data.size());
}

}  // namespace

int JpegExifOrientation(const QByteArray &jpeg)
{
    if (jpeg.size() < 4 || uchar(jpeg[0]) != 0xFF || uchar(jpeg[1]) != 0xD8)
        return kUpright;
    return OrientationOf(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size());
}

int PngExifOrientation(const QByteArray &png)
{
    // eXIf comes before the picture data.
    int orientation = kUpright;
    WalkPngChunks(png, [&](const PngChunk &chunk) {
        if (chunk.type == "eXIf")
            orientation = OrientationOfTiffBlock(chunk.data.constData(), chunk.data.size());
        return chunk.type != "eXIf" && chunk.type != "IDAT";
    });
    return orientation;
}

int WebpExifOrientation(const QByteArray &webp)
{
    // RIFF chunks: 4-byte type, 4-byte little-endian length, data padded to an even length.
    constexpr qsizetype kHeader = 12;
    if (webp.size() < kHeader || !webp.startsWith("RIFF") || QByteArrayView(webp.constData() + 8, 4) != "WEBP")
        return kUpright;
    qsizetype at = kHeader;
    while (at + 8 <= webp.size()) {
        const QByteArrayView type(webp.constData() + at, 4);
        const quint32 length = qFromLittleEndian<quint32>(webp.constData() + at + 4);
        const qsizetype dataStart = at + 8;
        if (length > quint32(webp.size() - dataStart))
            return kUpright;
        if (type == "EXIF")
            return OrientationOfTiffBlock(webp.constData() + dataStart, qsizetype(length));
        at = dataStart + qsizetype(length) + (length & 1);
    }
    return kUpright;
}

}  // namespace lumetta
