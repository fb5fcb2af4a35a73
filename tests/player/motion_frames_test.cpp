// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/motion_frames.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using namespace lumetta;

namespace {

// Red grows by one per column and green by one per row, so a sample's colour tells where in
// the picture it was taken, fractions included (bilinear sampling of a ramp is exact).
QImage Ramp(int size = 256)
{
    QImage ramp(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            ramp.setPixel(x, y, qRgb(x, y, 0));
    return ramp;
}

// Where the centre of target pixel I falls in the source, in the source's pixel-centre units.
double SampledAt(double cropStart, double cropSize, int targetSize, int i)
{
    return cropStart + (i + 0.5) * cropSize / targetSize - 0.5;
}

}  // namespace

TEST(MotionFrames, FramesAreSampledAtSubPixelPositions)
{
    const QImage ramp = Ramp();
    const struct
    {
        const char *name;
        QRectF crop;
        QSize target;
    } cases[] = {
        {"same size", {0, 0, 256, 256}, {256, 256}},
        {"quarter-pixel offset", {10.25, 20.75, 200, 200}, {200, 200}},
        {"halved", {10.25, 20.5, 128, 128}, {64, 64}},
        {"four times closer", {100.3, 50.7, 32, 32}, {128, 128}},
        {"a landscape slide", {30.5, 40.125, 160, 90}, {320, 180}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QImage frame(c.target, QImage::Format_RGB32);
        MotionFrames::Resample(ramp, c.crop, frame);
        int worst = 0;
        for (int j = 0; j < c.target.height(); ++j) {
            for (int i = 0; i < c.target.width(); ++i) {
                const double x = SampledAt(c.crop.x(), c.crop.width(), c.target.width(), i);
                const double y = SampledAt(c.crop.y(), c.crop.height(), c.target.height(), j);
                if (x < 0 || y < 0 || x > 255 || y > 255)
                    continue;  // beyond the outermost pixel centres the edge repeats
                const QRgb pixel = frame.pixel(i, j);
                worst = std::max({worst, int(std::lround(std::abs(qRed(pixel) - x) * 100)),
                                  int(std::lround(std::abs(qGreen(pixel) - y) * 100))});
            }
        }
        // Within a level and a little of 8-bit rounding.
        EXPECT_LE(worst, 110);
    }
}

TEST(MotionFrames, ASlowPanMovesTheFrameByFractionsOfAPixel)
{
    const QImage ramp = Ramp();
    const SlideMotion pan{{0, 0, 0.5, 0.5}, {0.5, 0, 0.5, 0.5}, SlideMotion::Easing::Linear};
    // 128 source pixels over 1280 ms: a tenth of a pixel a millisecond, so a 16 ms step moves
    // what the slide shows by 1.6 levels of red. The slide is smaller than the crop, so pixels
    // fall at all fractions and their rounding evens out.
    MotionFrames frames(ramp, {100, 100}, pan, 1280);
    double previousMean = -1;
    for (int step = 0; step <= 10; ++step) {
        const QImage frame = frames.FrameAt(step * 16.0);
        double sum = 0;
        for (int x = 10; x < 90; ++x)
            sum += qRed(frame.pixel(x, 50));
        const double mean = sum / 80;
        if (previousMean >= 0)
            EXPECT_NEAR(mean - previousMean, 1.6, 0.15) << "step " << step;
        previousMean = mean;
    }
}

TEST(MotionFrames, FramesFollowTheModelsCrops)
{
    const QImage ramp = Ramp();
    MotionFrames frames(ramp, {160, 90}, SlideMotion::ZoomIn(), 4000);
    const MotionPath path(SlideMotion::ZoomIn(), {256, 256}, {160, 90}, 4000);
    for (const double ms : {0.0, 1000.0, 2345.5, 4000.0}) {
        SCOPED_TRACE(ms);
        const MotionPath::Crop crop = path.At(ms);
        EXPECT_EQ(frames.CropAt(ms), QRectF(crop.x, crop.y, crop.width, crop.height));
        QImage expected(160, 90, QImage::Format_RGB32);
        MotionFrames::Resample(ramp, frames.CropAt(ms), expected);
        EXPECT_TRUE(frames.FrameAt(ms) == expected);
    }
    frames.SetDurationMs(8000);
    const MotionPath slower(SlideMotion::ZoomIn(), {256, 256}, {160, 90}, 8000);
    EXPECT_EQ(frames.CropAt(2000).width(), slower.At(2000).width);
}

TEST(MotionFrames, TwoBuffersInTurnSoTheShownFrameIsNotCopied)
{
    MotionFrames frames(Ramp(64), {32, 32}, SlideMotion::PanLeft(), 1000);
    const uchar *first = frames.FrameAt(0).constBits();
    const uchar *second = frames.FrameAt(10).constBits();
    EXPECT_NE(first, second);
    EXPECT_EQ(frames.FrameAt(20).constBits(), first);
    EXPECT_EQ(frames.FrameAt(30).constBits(), second);
    // A transparent picture keeps its transparency.
    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    MotionFrames seeThrough(clear, {32, 32}, SlideMotion::ZoomIn(), 1000);
    const QImage frame = seeThrough.FrameAt(500);
    EXPECT_EQ(frame.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(frame.pixel(16, 16)), 0);
    EXPECT_TRUE(MotionFrames().FrameAt(0).isNull());
}

TEST(MotionFrames, PicturesArePreparedAtTheDetailTheMotionWants)
{
    const struct
    {
        const char *name;
        QSize picture;
        QSize slide;
        double detail;
        QSize expected;
    } cases[] = {
        {"gentle zoom of a 24-megapixel photo", {6000, 4000}, {1620, 1080}, 1.25, {2025, 1350}},
        {"twice the slide", {6000, 4000}, {1620, 1080}, 2, {3240, 2160}},
        {"more than the picture has", {6000, 4000}, {1620, 1080}, 5, {6000, 4000}},
        {"a picture smaller than its slide", {800, 533}, {1620, 1080}, 2, {1621, 1080}},
        {"portrait on a 4K screen", {3000, 4000}, {1620, 2160}, 1.5, {2430, 3240}},
        {"no slide", {6000, 4000}, {0, 0}, 2, {6000, 4000}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MotionFrames::SourceSize(c.picture, c.slide, c.detail), c.expected);
    }
    EXPECT_DOUBLE_EQ(MotionFrames::DetailFor(SlideMotion()), 1);
    EXPECT_DOUBLE_EQ(MotionFrames::DetailFor(SlideMotion::ZoomIn()), 1 / 0.75);
    EXPECT_DOUBLE_EQ(MotionFrames::DetailFor(SlideMotion::PanRight()), 1 / 0.8);
    EXPECT_DOUBLE_EQ(MotionFrames::DetailFor(SlideMotion{{}, {0, 0, 0.1, 0.1}}), MotionFrames::kMostDetail);
}
