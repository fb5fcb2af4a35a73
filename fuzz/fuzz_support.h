// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace lumetta::fuzz {

// Creates the one QGuiApplication (offscreen) that readers touching fonts or screens need.
void EnsureApplication();

inline QByteArray Bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Pictures up to this many pixels are decoded whole; larger ones, which a few header bytes can
// declare, would spend seconds on one input and teach the fuzzer nothing new. The decoders'
// own size checks run before this limit matters.
inline constexpr long long kMaxDecodedPixels = 1 << 18;

}  // namespace lumetta::fuzz
