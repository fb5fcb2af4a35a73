// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/motion_path.h"
#include "common/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumetta;

namespace {

using Crop = MotionPath::Crop;
using Rect = SlideMotion::Rect;

constexpr double kNear = 1e-9;

void ExpectCrop(const Crop &actual, const Crop &expected)
{
    EXPECT_NEAR(actual.x, expected.x, kNear);
    EXPECT_NEAR(actual.y, expected.y, kNear);
    EXPECT_NEAR(actual.width, expected.width, kNear);
    EXPECT_NEAR(actual.height, expected.height, kNear);
}

// A 6000 x 4000 photo (24 megapixels) shown full-height on a 1080p screen: a slide of 1620 x 1080.
constexpr MotionPath::Size kPhoto{6000, 4000};
constexpr MotionPath::Size kSlide{1620, 1080};

}  // namespace

TEST(MotionPath, CropsAtTimesAlongTheWay)
{
    const SlideMotion zoomIn{Rect(), {0.25, 0.25, 0.5, 0.5}, SlideMotion::Easing::Linear};
    SlideMotion eased = zoomIn;
    eased.easing = SlideMotion::Easing::EaseInOut;
    const SlideMotion pan{{0, 0, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}, SlideMotion::Easing::Linear};
    const SlideMotion still{{0.1, 0.2, 0.5, 0.5}, {0.1, 0.2, 0.5, 0.5}, SlideMotion::Easing::EaseInOut};
    const struct
    {
        const char *name;
        SlideMotion motion;
        double durationMs;
        double atMs;
        Crop expected;
    } cases[] = {
        {"start", zoomIn, 1000, 0, {0, 0, 6000, 4000}},
        {"end", zoomIn, 1000, 1000, {1500, 1000, 3000, 2000}},
        {"before the start", zoomIn, 1000, -50, {0, 0, 6000, 4000}},
        {"after the end", zoomIn, 1000, 5000, {1500, 1000, 3000, 2000}},
        {"linear half way", zoomIn, 1000, 500, {750, 500, 4500, 3000}},
        {"linear quarter", zoomIn, 8000, 2000, {375, 250, 5250, 3500}},
        // 3t^2 - 2t^3 at t = 1/4 is 5/32.
        {"eased quarter", eased, 8000, 2000, {1500 * 5.0 / 32, 1000 * 5.0 / 32, 6000 - 3000 * 5.0 / 32,
                                              4000 - 2000 * 5.0 / 32}},
        {"eased half way", eased, 1000, 500, {750, 500, 4500, 3000}},
        {"pan from corner to corner", pan, 1000, 250, {750, 500, 3000, 2000}},
        {"zero-length motion", still, 1000, 700, {600, 800, 3000, 2000}},
        {"no time at all stays at the start", zoomIn, 0, 500, {0, 0, 6000, 4000}},
        {"a slow pan moves by less than a pixel a frame", pan, 600000, 1000.0 / 60, {3000.0 / 36000, 2000.0 / 36000, 3000, 2000}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const MotionPath path(c.motion, kPhoto, {1500, 1000}, c.durationMs);
        ExpectCrop(path.At(c.atMs), c.expected);
    }
}

TEST(MotionPath, CropsKeepTheSlidesProportionsInsideThePicture)
{
    const struct
    {
        const char *name;
        Rect rect;
        MotionPath::Size picture;
        MotionPath::Size slide;
        Crop expected;
    } cases[] = {
        {"whole picture at its own proportions", Rect(), kPhoto, {1500, 1000}, {0, 0, 6000, 4000}},
        // The slide is a little wider than the picture (sizes rounded, 3 pixels added): the crop
        // loses a sliver at the top and bottom and stays centred.
        {"whole picture on a slightly wider slide", Rect(), kPhoto, {1623, 1080},
         {0, (4000 - 6000 * 1080.0 / 1623) / 2, 6000, 6000 * 1080.0 / 1623}},
        {"right edge", {0.5, 0, 0.5, 0.5}, kPhoto, {1500, 1000}, {3000, 0, 3000, 2000}},
        {"bottom-left corner", {0, 0.75, 0.25, 0.25}, kPhoto, {1500, 1000}, {0, 3000, 1500, 1000}},
        // Portrait picture, 3000 x 4000, shown full-height on a landscape screen: the slide has
        // the picture's proportions, so the crop does too.
        {"portrait picture, whole", Rect(), {3000, 4000}, {810, 1080}, {0, 0, 3000, 4000}},
        {"portrait picture, top half", {0.25, 0, 0.5, 0.5}, {3000, 4000}, {810, 1080}, {750, 0, 1500, 2000}},
        // A square rectangle asked of a landscape slide: the widest slide-shaped crop inside it.
        {"square asked, landscape given", {0.25, 0.25, 0.5, 0.75}, {4000, 4000}, {1600, 900},
         {1000, 1000 + (3000 - 2000 * 9.0 / 16) / 2, 2000, 2000 * 9.0 / 16}},
        {"rectangle past the edge is moved in", {0.9, 0.9, 0.5, 0.5}, kPhoto, {1500, 1000}, {3000, 2000, 3000, 2000}},
        {"landscape slide of a portrait picture", Rect(), {3000, 4000}, {1600, 900},
         {0, (4000 - 3000 * 9.0 / 16) / 2, 3000, 3000 * 9.0 / 16}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Crop crop = MotionPath::Fit(c.rect, c.picture, c.slide);
        ExpectCrop(crop, c.expected);
        EXPECT_GE(crop.x, 0);
        EXPECT_GE(crop.y, 0);
        EXPECT_LE(crop.x + crop.width, c.picture.width + kNear);
        EXPECT_LE(crop.y + crop.height, c.picture.height + kNear);
    }
}

TEST(MotionPath, BadRectanglesAreMadeSound)
{
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const struct
    {
        const char *name;
        Rect rect;
        Rect expected;
    } cases[] = {
        {"sound already", {0.1, 0.2, 0.5, 0.6}, {0.1, 0.2, 0.5, 0.6}},
        {"negative corner", {-0.5, -1, 0.5, 0.5}, {0, 0, 0.5, 0.5}},
        {"past the right and bottom", {0.8, 0.9, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}},
        {"larger than the picture", {0, 0, 3, 2}, {0, 0, 1, 1}},
        {"no width", {0.2, 0.2, 0, 0.5}, {0.2, 0.2, SlideMotion::kSmallestFraction, 0.5}},
        {"negative size", {0.5, 0.5, -1, -1}, {0.5, 0.5, SlideMotion::kSmallestFraction, SlideMotion::kSmallestFraction}},
        {"not numbers", {kNan, kNan, kNan, kInfinity}, {0, 0, 1, 1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SlideMotion::Clamped(c.rect), c.expected);
    }
    // An empty picture has nothing to crop.
    EXPECT_EQ(MotionPath::Fit(Rect(), {0, 0}, kSlide), Crop());
}

TEST(MotionPath, FramesLieAtTheirTimes)
{
    const MotionPath path(SlideMotion::ZoomIn(), kPhoto, kSlide, 2000);
    ExpectCrop(path.AtFrame(0, 25), path.Start());
    ExpectCrop(path.AtFrame(25, 25), path.At(1000));
    ExpectCrop(path.AtFrame(50, 25), path.End());
    ExpectCrop(path.AtFrame(1001, 30000.0 / 1001), path.At(1001 * 1001 / 30.0));
}

TEST(MotionPath, EasingStartsAndEndsAtRest)
{
    for (const SlideMotion::Easing easing : {SlideMotion::Easing::Linear, SlideMotion::Easing::EaseInOut}) {
        EXPECT_EQ(MotionPath::Eased(easing, 0), 0);
        EXPECT_EQ(MotionPath::Eased(easing, 1), 1);
        EXPECT_EQ(MotionPath::Eased(easing, -3), 0);
        EXPECT_EQ(MotionPath::Eased(easing, 7), 1);
        double previous = 0;
        for (int i = 1; i <= 100; ++i) {
            const double along = MotionPath::Eased(easing, i / 100.0);
            EXPECT_GT(along, previous);
            previous = along;
        }
    }
    // Ease in/out barely moves in its first and last hundredth.
    EXPECT_LT(MotionPath::Eased(SlideMotion::Easing::EaseInOut, 0.01), 0.001);
    EXPECT_GT(MotionPath::Eased(SlideMotion::Easing::EaseInOut, 0.99), 0.999);
}

TEST(SlideMotion, PresetsMoveAsNamed)
{
    const MotionPath::Size square{1000, 1000};
    const auto crops = [&square](const SlideMotion &motion) { return MotionPath(motion, square, square, 1); };
    EXPECT_GT(crops(SlideMotion::ZoomIn()).Start().width, crops(SlideMotion::ZoomIn()).End().width);
    EXPECT_LT(crops(SlideMotion::ZoomOut()).Start().width, crops(SlideMotion::ZoomOut()).End().width);
    EXPECT_GT(crops(SlideMotion::PanLeft()).Start().x, crops(SlideMotion::PanLeft()).End().x);
    EXPECT_LT(crops(SlideMotion::PanRight()).Start().x, crops(SlideMotion::PanRight()).End().x);
    for (const SlideMotion &motion :
         {SlideMotion::ZoomIn(), SlideMotion::ZoomOut(), SlideMotion::PanLeft(), SlideMotion::PanRight()}) {
        EXPECT_EQ(SlideMotion::Clamped(motion.start), motion.start);
        EXPECT_EQ(SlideMotion::Clamped(motion.end), motion.end);
    }
}

TEST(SlideMotion, GentleMotionIsASlowZoomThatASeedRepeats)
{
    SetRandSeed(1234);
    std::vector<SlideMotion> drawn;
    int zoomsIn = 0;
    for (int i = 0; i < 200; ++i) {
        const SlideMotion motion = SlideMotion::DrawGentle();
        drawn.push_back(motion);
        const bool zoomIn = motion.start == Rect();
        zoomsIn += zoomIn ? 1 : 0;
        const Rect &close = zoomIn ? motion.end : motion.start;
        EXPECT_EQ(zoomIn ? motion.start : motion.end, Rect());
        EXPECT_GE(close.width, 0.8);
        EXPECT_LE(close.width, 0.9);
        EXPECT_EQ(close.width, close.height);
        EXPECT_EQ(SlideMotion::Clamped(close), close);
    }
    EXPECT_GT(zoomsIn, 50);
    EXPECT_LT(zoomsIn, 150);
    SetRandSeed(1234);
    for (const SlideMotion &motion : drawn)
        EXPECT_EQ(SlideMotion::DrawGentle(), motion);
    SetRandSeed(0);
}
