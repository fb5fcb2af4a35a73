// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "media/exif_orientation.h"

using namespace lumetta;

// The orientation readers on the same bytes: a JPEG's EXIF segment, a PNG's and a WebP's chunk.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    JpegExifOrientation(bytes);
    PngExifOrientation(bytes);
    WebpExifOrientation(bytes);
    return 0;
}
