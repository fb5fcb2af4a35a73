// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/orientation.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

using namespace lumetta;
using namespace testpictures;

TEST(Orientation, ValuesOutsideTheTagsRangeCountAsUpright)
{
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {5, 5}, {8, 8}, {9, 1}, {-6, 1}, {65535, 1}};
    for (const auto &[value, valid] : cases)
        EXPECT_EQ(ValidOrientation(value), valid) << value;
}

TEST(Orientation, QuarterTurnsExchangeTheSides)
{
    for (int orientation = 0; orientation <= 9; ++orientation) {
        const bool swaps = orientation >= 5 && orientation <= 8;
        EXPECT_EQ(OrientationSwapsSides(orientation), swaps) << orientation;
        EXPECT_EQ(OrientedSize(QSize(7, 3), orientation), swaps ? QSize(3, 7) : QSize(7, 3)) << orientation;
    }
}

TEST(Orientation, StoredCornersLandWhereTheTagSays)
{
    // Where the stored top-left and top-right pixels of a 7 x 3 picture go.
    struct Case
    {
        int orientation;
        QPoint topLeft, topRight;
    };
    const Case cases[] = {{1, {0, 0}, {6, 0}}, {2, {6, 0}, {0, 0}}, {3, {6, 2}, {0, 2}}, {4, {0, 2}, {6, 2}},
                          {5, {0, 0}, {0, 6}}, {6, {2, 0}, {2, 6}}, {7, {2, 6}, {2, 0}}, {8, {0, 6}, {0, 0}}};
    for (const Case &c : cases) {
        EXPECT_EQ(OrientedPoint({0, 0}, {7, 3}, c.orientation), c.topLeft) << c.orientation;
        EXPECT_EQ(OrientedPoint({6, 0}, {7, 3}, c.orientation), c.topRight) << c.orientation;
    }
}

TEST(Orientation, TurningStoredPixelsGivesTheUprightPicture)
{
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        const QImage upright = NoisePicture(13, 6, 7).convertToFormat(format);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QImage turned = OrientImage(StoredForOrientation(upright, orientation), orientation);
            EXPECT_EQ(turned, upright) << orientation;
            EXPECT_EQ(turned.format(), format);
        }
    }
}
