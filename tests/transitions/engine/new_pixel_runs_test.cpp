// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/new_pixel_runs.h"
#include "transitions/engine/noise_picture.h"

#include <gtest/gtest.h>

namespace lumetta {

namespace {

struct Pictures
{
    QImage work, dst, canvas;
    PassData data;

    Pictures(QSize size, QImage::Format canvasFormat = QImage::Format_RGB32, int bitmapWidth = 0)
    {
        const QSize bitmaps(bitmapWidth ? bitmapWidth : size.width(), size.height());
        work = NoisePicture(bitmaps, 1);
        dst = NoisePicture(bitmaps, 2);
        canvas = NoisePicture(size, 1).convertToFormat(canvasFormat);
        data.bitmap = &work;
        data.srcBmp = &work;
        data.dstBmp = &dst;
        data.canvas = &canvas;
        data.width = size.width();
        data.height = size.height();
    }
};

}  // namespace

// Runs go onto a canvas of the work bitmap's layout, clipped to the area; the work bitmap, read
// by nobody in such a pass, is left alone.
TEST(NewPixelRuns, RunsGoOntoACanvasOfTheSameLayout)
{
    Pictures p({40, 10}, QImage::Format_RGB32, 64);
    const QImage workBefore = p.work.copy(), canvasBefore = p.canvas.copy();
    NewPixelRuns runs;
    ASSERT_TRUE(runs.Begin(p.data, false));
    EXPECT_TRUE(runs.OnCanvas());
    runs.Run(2, 5, 9);
    runs.Run(3, -4, 2);
    runs.Run(4, 38, 50);
    runs.Run(-1, 0, 40);
    runs.Run(10, 0, 40);
    runs.Run(5, 7, 7);
    EXPECT_TRUE(runs.TakeRegion().isEmpty());
    EXPECT_EQ(p.work, workBefore);
    auto isNew = [](int x, int y) { return (y == 2 && x >= 5 && x < 9) || (y == 3 && x < 2) || (y == 4 && x >= 38); };
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(p.canvas.pixel(x, y), isNew(x, y) ? p.dst.pixel(x, y) : canvasBefore.pixel(x, y))
                << x << "," << y;
}

// Asked for, the region covers every run with bands of rows; runs of a band close to each other
// share one rectangle.
TEST(NewPixelRuns, TheRegionCoversTheRunsWithBands)
{
    Pictures p({300, 100});
    NewPixelRuns runs;
    ASSERT_TRUE(runs.Begin(p.data, true));
    runs.Run(3, 10, 12);
    runs.Run(5, 40, 41);
    runs.Run(6, 200, 230);
    runs.Run(70, 0, 300);
    runs.Run(99, 299, 300);
    const QRegion region = runs.TakeRegion();
    const int band = NewPixelRuns::kBandRows;
    const QRegion expected = QRegion(QRect(10, 0, 31, band)) + QRect(200, 0, 30, band) + QRect(0, 2 * band, 300, band)
                             + QRect(299, 3 * band, 1, 100 - 3 * band);
    EXPECT_TRUE(region.xored(expected).isEmpty());
    EXPECT_EQ(region.rectCount(), 4);
    EXPECT_TRUE(runs.TakeRegion().isEmpty());
}

// A canvas of another layout cannot take raw runs: they go into the work bitmap, and the region
// (for Flush to copy) is kept even unasked.
TEST(NewPixelRuns, ACanvasOfAnotherLayoutGetsTheRunsThroughTheWorkBitmap)
{
    Pictures p({20, 8}, QImage::Format_RGB16);
    const QImage canvasBefore = p.canvas.copy();
    NewPixelRuns runs;
    ASSERT_TRUE(runs.Begin(p.data, false));
    EXPECT_FALSE(runs.OnCanvas());
    runs.Run(1, 3, 6);
    EXPECT_EQ(p.canvas, canvasBefore);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(p.work.pixel(x, 1), (x >= 3 && x < 6 ? p.dst : NoisePicture({20, 8}, 1)).pixel(x, 1)) << x;
    EXPECT_TRUE(runs.TakeRegion().xored(QRegion(QRect(3, 0, 3, 8))).isEmpty());
}

TEST(NewPixelRuns, PicturesWithoutRawPixelsAreRefused)
{
    Pictures p({16, 4});
    NewPixelRuns runs;
    PassData noNew = p.data;
    noNew.dstBmp = nullptr;
    EXPECT_FALSE(runs.Begin(noNew, false));
    PassData noWork = p.data;
    noWork.bitmap = nullptr;
    EXPECT_FALSE(runs.Begin(noWork, false));
    QImage mono(16, 4, QImage::Format_Mono), otherDepth = p.dst.convertToFormat(QImage::Format_RGB16);
    PassData oneBit = p.data;
    oneBit.bitmap = &mono;
    EXPECT_FALSE(runs.Begin(oneBit, false));
    PassData mixed = p.data;
    mixed.dstBmp = &otherDepth;
    EXPECT_FALSE(runs.Begin(mixed, false));
    PassData empty = p.data;
    empty.width = 0;
    EXPECT_FALSE(runs.Begin(empty, false));
}

}  // namespace lumetta
