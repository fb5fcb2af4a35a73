// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "media/picture.h"
#include "media/picture_error.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    try {
        Picture picture = Picture::fromData(fuzz::Bytes(data, size), PictureKind::Jpeg, QStringLiteral("fuzz.jpeg"));
        if (qint64(picture.width()) * picture.height() > fuzz::kMaxDecodedPixels)
            return 0;
        picture.decodeNow();
        picture.toFileData();
        picture.setQuarterSize(true);
        picture.decodeNow();
    } catch (const PictureError &) {
    }
    return 0;
}
