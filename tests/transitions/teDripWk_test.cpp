#include "transitions/teDripWk.h"

#include "transitions/pixel_helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace lumetta;
using namespace lumetta::test;

TEST(DripKernels, FastFillMatchesReferenceOnOddWidthsAndOffsets)
{
    std::mt19937 gen(11);
    for (int bpp = 1; bpp <= 4; ++bpp) {
        for (int width : {0, 1, 2, 3, 7, 16, 31, 65, 127}) {
            for (int start : {0, 1, 3}) {
                const uchar pixel[4] = {uchar(gen()), uchar(gen()), uchar(gen()), uchar(gen())};
                const std::size_t bytes = std::size_t(width + start + 2) * bpp;
                std::vector<uchar> ref(bytes, 0xA5), fast(bytes, 0xA5);
                FillRow_C(ref.data() + start * bpp, pixel, width, bpp);
                FillRow_Fast(fast.data() + start * bpp, pixel, width, bpp);
                ASSERT_EQ(ref, fast) << "bpp " << bpp << " width " << width << " start " << start;
            }
        }
    }
}

TEST(DripKernels, SmearColumnRepeatsTheSourcePixelOfEachRow)
{
    for (QImage::Format format : ScreenFormats) {
        for (bool reference : {true, false}) {
            ReferenceSwitch sw(reference);
            const QImage src = NoiseImage(17, 6, format, 4);
            QImage dst = NoiseImage(17, 6, format, 5);
            const QImage before = dst;
            SmearColumn(src, 9, dst, {10, 0, 17, 6});
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 17; ++x)
                    ASSERT_EQ(RawPixel(dst, x, y), x >= 10 ? RawPixel(src, 9, y) : RawPixel(before, x, y))
                        << format << " " << x << "," << y;
        }
    }
}

TEST(DripKernels, SmearRowCopiesOneRowIntoTheRange)
{
    for (QImage::Format format : ScreenFormats) {
        const QImage src = NoiseImage(13, 8, format, 6);
        QImage dst = NoiseImage(13, 8, format, 7);
        const QImage before = dst;
        SmearRow(src, 5, dst, -2, 5);  // rows above the picture are ignored
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(RawPixel(dst, x, y), y < 5 ? RawPixel(src, x, 5) : RawPixel(before, x, y))
                    << format << " " << x << "," << y;
    }
}

TEST(DripKernels, OutOfRangeSourceLinesLeaveTheTargetAlone)
{
    const QImage src = NoiseImage(5, 5, QImage::Format_RGB32, 8);
    QImage dst = NoiseImage(5, 5, QImage::Format_RGB32, 9);
    const QImage before = dst;
    SmearColumn(src, 5, dst, {0, 0, 5, 5});
    SmearColumn(src, -1, dst, {0, 0, 5, 5});
    SmearRow(src, 5, dst, 0, 5);
    EXPECT_EQ(dst, before);
}
