// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/drip_kernels.h"

#include "pixel_helpers.h"

#include <gtest/gtest.h>

using namespace lumetta;

using namespace lumetta::test;

namespace {

// The column smear over areas of every size, the largest past the size from which rows are written
// around the caches, in each pixel size: inside the area the source line, outside it the target
// as it was.
struct SmearCase
{
    int width, height;
    HalfOpenRect area;
    int sourceLine;
};

const SmearCase kSmears[] = {
    {21, 13, {3, 2, 17, 11}, 2},         {21, 13, {-4, -2, 30, 20}, 20},  // clipped to the picture
    {21, 13, {5, 5, 5, 9}, 0},  // empty
    {2100, 2100, {1, 0, 2100, 2100}, 0},  // 17 MB at 32 bits
    {2100, 2100, {7, 3, 2093, 2099}, 6},
};

const QImage::Format kFormats[] = {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16,
                                   QImage::Format_Indexed8};

QImage Noise(int w, int h, QImage::Format format, std::uint32_t seed)
{
    return NoiseImage(w, h, QImage::Format_RGB32, seed).convertToFormat(format, Qt::ThresholdDither);
}

}  // namespace

TEST(DripKernels, SmearColumnFillsEachRowWithItsSourcePixel)
{
    for (bool reference : {false, true}) {
        ReferenceSwitch kernels(reference);
        for (const QImage::Format format : kFormats)
            for (const SmearCase &c : kSmears) {
                SCOPED_TRACE(testing::Message() << "reference " << reference << " format " << format << " " << c.width
                                                << "x" << c.height << " column " << c.sourceLine);
                const QImage src = Noise(c.width, c.height, format, 3);
                const QImage before = Noise(c.width, c.height, format, 4);
                QImage dst = before.copy();
                SmearColumn(ReadView(src), c.sourceLine, WritableView(dst), c.area);
                for (int y = 0; y < c.height; ++y)
                    for (int x = 0; x < c.width; ++x) {
                        const bool inside =
                            x >= c.area.left && x < c.area.right && y >= c.area.top && y < c.area.bottom;
                        const uint expected = inside ? src.pixel(c.sourceLine, y) : before.pixel(x, y);
                        ASSERT_EQ(dst.pixel(x, y), expected) << x << ", " << y;
                    }
            }
    }
}

TEST(DripKernels, SourceLinesOutsideThePictureSmearNothing)
{
    const QImage src = Noise(9, 7, QImage::Format_RGB32, 7);
    const QImage before = Noise(9, 7, QImage::Format_RGB32, 8);
    for (int line : {-1, 7, 9, 100}) {
        QImage dst = before.copy();
        if (line >= 7)
            SmearRow(ReadView(src), line, WritableView(dst), 0, 7);
        if (line < 0 || line >= 9)
            SmearColumn(ReadView(src), line, WritableView(dst), {0, 0, 9, 7});
        EXPECT_EQ(dst, before) << line;
    }
}
