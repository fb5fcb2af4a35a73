// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "media/picture.h"
#include "media/picture_error.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    // The logical screen is the canvas the decoder fills: bytes 6 to 9, little-endian.
    if (size >= 10 && qint64(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > fuzz::kMaxDecodedPixels)
        return 0;
    try {
        Picture picture = Picture::FromData(fuzz::Bytes(data, size), PictureKind::Gif, QStringLiteral("fuzz.gif"));
        picture.DecodeNow();
        picture.ToFileData();
    } catch (const PictureError &) {
    }
    return 0;
}
