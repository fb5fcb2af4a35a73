// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>

namespace lumetta {

// Noise pictures for tests, benchmarks and lumetta-fx bench: the same for every call.
//
// In Format_RGB32 every pixel is opaque and its 24 colour bits are a scrambled count: the
// pictures of seed s count from s * pixels, so no two words of one picture are equal, nor two
// words of pictures of different seeds while (larger seed + 1) * pixels <= 2^24 (seeds 1 and 2
// at 1920 x 1080). Then no kernel can skip a word as unchanged. Other formats are filled byte by
// byte from the same counts, Format_Indexed8 with a grey palette.
QImage NoisePicture(QSize size, std::uint32_t seed, QImage::Format format = QImage::Format_RGB32);

}  // namespace lumetta
