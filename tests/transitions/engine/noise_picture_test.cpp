// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/noise_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lumetta {

namespace {

void AppendWords(std::vector<std::uint32_t> &words, const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const std::uint32_t *>(image.constScanLine(y));
        words.insert(words.end(), row, row + image.width());
    }
}

}  // namespace

// lumetta-fx bench relies on this: no kernel can skip a word of these pictures as unchanged.
TEST(NoisePicture, FullHdSeedsOneAndTwoHaveNoTwoEqualWords)
{
    const QSize size(1920, 1080);
    const QImage first = NoisePicture(size, 1), second = NoisePicture(size, 2);
    ASSERT_EQ(first.format(), QImage::Format_RGB32);
    std::vector<std::uint32_t> words;
    words.reserve(std::size_t(2 * size.width() * size.height()));
    AppendWords(words, first);
    AppendWords(words, second);
    EXPECT_TRUE(std::all_of(words.begin(), words.end(), [](std::uint32_t w) { return w >> 24 == 0xFF; }));
    std::sort(words.begin(), words.end());
    const auto equal = std::adjacent_find(words.begin(), words.end());
    EXPECT_EQ(equal, words.end()) << "word " << std::hex << *equal << " occurs twice";
}

TEST(NoisePicture, SameSeedSamePictureInEveryFormat)
{
    for (QImage::Format format : {QImage::Format_Indexed8, QImage::Format_RGB555, QImage::Format_RGB16,
                                  QImage::Format_RGB888, QImage::Format_RGB32}) {
        const QImage a = NoisePicture(QSize(37, 5), 4, format);
        EXPECT_EQ(a.format(), format);
        EXPECT_EQ(a, NoisePicture(QSize(37, 5), 4, format));
        EXPECT_NE(a, NoisePicture(QSize(37, 5), 5, format));
    }
    EXPECT_EQ(NoisePicture(QSize(3, 3), 1, QImage::Format_Indexed8).colorCount(), 256);
}

}  // namespace lumetta
