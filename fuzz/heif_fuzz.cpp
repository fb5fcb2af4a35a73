// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "media/picture.h"
#include "media/picture_error.h"

using namespace lumetta;

// libheif behind the picture loader (HEIC and AVIF): header and decode.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    try {
        const Picture picture =
            Picture::FromData(fuzz::Bytes(data, size), PictureKind::Heif, QStringLiteral("fuzz.heic"));
        if (qint64(picture.Width()) * picture.Height() > fuzz::kMaxDecodedPixels)
            return 0;
        picture.DecodeNow();
    } catch (const PictureError &) {
    }
    return 0;
}
