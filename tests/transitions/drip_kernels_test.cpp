#include "transitions/drip_kernels.h"

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
