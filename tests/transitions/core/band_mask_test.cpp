// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/band_mask.h"

#include "common/random.h"
#include "transitions/core/shapes/mono_paint.h"
#include "transitions/pixel_helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace lumetta;

using namespace lumetta::test;

namespace {

// The process generator's rule, written out again so the expected masks do not come from it.
struct Lcg
{
    std::uint32_t seed;
    int Next100()
    {
        seed = seed * 134775813u + 1u;
        return int((std::uint64_t(seed) * 100u) >> 32);
    }
};

bool MaskBit(const MonoBitmap &mask, int x, int y)
{
    return MonoPixel(mask.View(), x, y);
}

struct MaskCase
{
    const char *name;
    BandAxis axis;
    bool newSideFirst;
    int bandWidth, width, height;
};

}  // namespace

TEST(BandMask, FirstRowsFollowTheSeededGenerator)
{
    const MaskCase cases[] = {
        {"right", BandAxis::Columns, true, 7, 30, 11},
        {"left", BandAxis::Columns, false, 5, 9, 4},
        {"down", BandAxis::Rows, true, 6, 13, 8},
        {"up", BandAxis::Rows, false, 3, 2, 40},
    };
    for (const MaskCase &c : cases) {
        SCOPED_TRACE(c.name);
        SetRandSeed(99);
        BandMask mask;
        mask.Build(c.axis, c.newSideFirst, c.bandWidth, c.width, c.height);
        const PixelSize size = BandMask::SizeFor(c.axis, c.bandWidth, c.width, c.height);
        ASSERT_EQ(mask.Bits().Width(), size.width);
        ASSERT_EQ(mask.Bits().Height(), size.height);
        ASSERT_TRUE(mask.Fits(c.axis, c.newSideFirst, size));
        ASSERT_FALSE(mask.Fits(c.axis, !c.newSideFirst, size));

        Lcg lcg{1642000};
        const int length = c.axis == BandAxis::Columns ? c.height + 75 : c.width + 75;
        for (int pos = 0; pos < c.bandWidth; ++pos) {
            const int d = pos * 100 / c.bandWidth;
            int t = c.newSideFirst ? 100 - d : d;
            t = t == 0 ? 1 : t;
            for (int i = 0; i <= length; ++i) {
                const bool expected = t >= lcg.Next100();
                if (i == length)
                    continue;
                const bool got =
                    c.axis == BandAxis::Columns ? MaskBit(mask.Bits(), pos, i) : MaskBit(mask.Bits(), i, pos);
                ASSERT_EQ(got, expected) << "position " << pos << " index " << i;
            }
        }
        // The seed is left where the last draw put it, one draw past each line's end included.
        EXPECT_EQ(RandSeed(), lcg.seed);
    }
}

TEST(BandMask, KnownValuesFromSeed1642000)
{
    // Draws from 1642000 give 86, 75, 22, 97, 10, ...; a right band of width 2 on a picture one
    // row high uses 77 draws for its first column (always set), then these for the second (t = 50).
    BandMask mask;
    mask.Build(BandAxis::Columns, true, 2, 10, 1);
    const bool second[] = {false, false, true, true, true, false, true, false, true, false};
    for (int y = 0; y < 10; ++y) {
        EXPECT_TRUE(MaskBit(mask.Bits(), 0, y)) << y;
        EXPECT_EQ(MaskBit(mask.Bits(), 1, y), second[y]) << y;
    }
    EXPECT_EQ(RandSeed(), 3674807870u);

    // An up band of three rows on a picture one pixel wide: row 0 has t = 1, row 1 t = 33, row 2 t = 66.
    mask.Build(BandAxis::Rows, false, 3, 1, 10);
    const bool rows[3][10] = {
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 1, 1, 1, 0, 0}};
    for (int r = 0; r < 3; ++r)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(MaskBit(mask.Bits(), x, r), rows[r][x]) << r << "," << x;
    EXPECT_EQ(RandSeed(), 2443824571u);
}

TEST(BandKernels, ComposeReadsTheMaskAtTheBandOffsetCopiesTheStripAndClips)
{
    BandMask mask;
    for (QImage::Format format : kScreenFormats) {
        for (bool reference : {true, false}) {
            ReferenceSwitch sw(reference);
            const int w = 23, h = 9;
            const QImage oldPic = NoiseImage(w, h, format, 1);
            const QImage newPic = NoiseImage(w, h, format, 2);
            struct Case
            {
                BandAxis axis;
                HalfOpenRect band, strip;
                int maskX, maskY;
            };
            const Case cases[] = {
                {BandAxis::Columns, {-3, 0, 4, h}, {-8, 0, -2, h + 1}, 0, 17},  // entering at the left
                {BandAxis::Columns, {19, 0, 26, h}, {16, 0, 19, h + 1}, 0, 74},  // leaving at the right
                {BandAxis::Columns, {2, 0, 9, h}, {11, 0, 13, h + 1}, 0, 3},  // seam column 10 untouched
                {BandAxis::Rows, {0, 5, w, 12}, {0, 3, w + 1, 5}, 31, 0},
                {BandAxis::Rows, {0, -2, w, 5}, {}, 0, 0},
            };
            for (const Case &c : cases) {
                mask.Build(c.axis, true, 7, w, h);
                QImage dst = NoiseImage(w, h, format, 3);
                const QImage before = dst;
                mask.Compose(ReadView(oldPic), ReadView(newPic), WritableView(dst), c.band, c.maskX, c.maskY, c.strip);
                auto inside = [](const HalfOpenRect &r, int x, int y) {
                    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                };
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        std::uint32_t expected = RawPixel(before, x, y);
                        if (inside(c.strip, x, y))
                            expected = RawPixel(newPic, x, y);
                        if (inside(c.band, x, y))
                            expected = MaskBit(mask.Bits(), x - c.band.left + c.maskX, y - c.band.top + c.maskY)
                                           ? RawPixel(newPic, x, y)
                                           : RawPixel(oldPic, x, y);
                        ASSERT_EQ(RawPixel(dst, x, y), expected)
                            << "format " << format << " reference " << reference << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}
