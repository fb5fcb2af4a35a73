// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/orientation.h"
#include "media/oriented_rows.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace lumetta;
using namespace testpictures;

namespace {

// Feeds the stored picture's rows in batches of `batch`, as a decoder does, and returns the target.
QImage PlaceRows(const QImage &stored, int orientation, int batch)
{
    QImage target(OrientedSize(stored.size(), orientation), QImage::Format_RGB32);
    target.fill(0u);
    std::vector<quint32> strip;
    OrientedRows rows(target, stored.size(), orientation, strip);
    for (int line = 0; line < stored.height();) {
        const int count = std::min({batch, rows.RowsAvailable(line), stored.height() - line});
        for (int i = 0; i < count; ++i)
            std::memcpy(rows.Row(line + i), stored.constScanLine(line + i), std::size_t(stored.width()) * 4);
        line += count;
        rows.Written(line);
    }
    return target;
}

}  // namespace

TEST(OrientedRows, PlacesRowsAsTheReferenceTurnsThePicture)
{
    // Odd sizes, a strip cut short at the bottom, and batches that do not divide the strip.
    const QSize sizes[] = {{1, 1}, {37, 5}, {5, 37}, {64, 16}, {33, 17}, {100, 49}};
    for (const QSize size : sizes) {
        const QImage stored = NoisePicture(size.width(), size.height(), quint32(size.width() * 131 + size.height()));
        for (int orientation = 1; orientation <= 8; ++orientation) {
            for (const int batch : {1, 3, 8}) {
                EXPECT_EQ(PlaceRows(stored, orientation, batch), OrientImage(stored, orientation))
                    << size.width() << "x" << size.height() << " orientation " << orientation << " batch " << batch;
            }
        }
    }
}

TEST(OrientedRows, QuarterTurnsCollectAStripAtATime)
{
    QImage target(20, 40, QImage::Format_RGB32);
    std::vector<quint32> strip;
    OrientedRows rows(target, QSize(40, 20), 6, strip);
    EXPECT_EQ(rows.RowsAvailable(0), OrientedRows::kStripRows);
    EXPECT_EQ(rows.RowsAvailable(5), OrientedRows::kStripRows - 5);
    OrientedRows flips(target, QSize(20, 40), 3, strip);
    EXPECT_EQ(flips.RowsAvailable(5), 35);
}
