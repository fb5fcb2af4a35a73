// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "media/picture.h"
#include "media/picture_error.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    try {
        Picture picture = Picture::FromData(fuzz::Bytes(data, size), PictureKind::Bmp, QStringLiteral("fuzz.bmp"));
        picture.DecodeNow();
        picture.ToFileData();
    } catch (const PictureError &) {
    }
    return 0;
}
