// SPDX-License-Identifier: GPL-3.0-or-later
// The transition core as the web page calls it: plain C functions over three RGBA pictures held
// in the module's memory (old, new and the frame the canvas shows). RGBA bytes with an opaque
// alpha are the core's Rgb32 words byte for byte, so the core draws on them as it draws on screens.
#include "common/arith.h"
#include "common/random.h"
#include "common/slide_geometry.h"
#include "transitions/core/frames/transition_frames.h"

#include <cstdint>
#include <memory>
#include <vector>

using namespace lumetta;

namespace {

struct Pictures
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> oldBytes;
    std::vector<std::uint8_t> newBytes;
    std::vector<std::uint8_t> outBytes;
    std::unique_ptr<TransitionFrames> frames;

    PixelView View(std::vector<std::uint8_t> &bytes)
    {
        return {bytes.data(), width, height, std::ptrdiff_t(width) * 4, PixelLayout::Rgb32};
    }
};

Pictures gPictures;
std::uint32_t gFixedClock = 0;

}  // namespace

extern "C" {

// Sizes the three pictures for an area of width x height; false when it cannot be had.
bool LumettaResize(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    gPictures.frames.reset();
    gPictures.width = width;
    gPictures.height = height;
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    gPictures.oldBytes.assign(bytes, 0xFF);
    gPictures.newBytes.assign(bytes, 0xFF);
    gPictures.outBytes.assign(bytes, 0xFF);
    return true;
}

std::uint8_t *LumettaOldPicture()
{
    return gPictures.oldBytes.data();
}

std::uint8_t *LumettaNewPicture()
{
    return gPictures.newBytes.data();
}

std::uint8_t *LumettaFrame()
{
    return gPictures.outBytes.data();
}

// Starts a pass from the old picture to the new one with the effect's plain settings; returns
// its frame count (frames 1 .. count - 1 lie between; 0 for a cut).
int LumettaBegin(int kind, int direction, int bandWidth, bool dissolve, int style, int subStyle, bool reversed,
                 int cols, int rows, int blockWidth, int blockHeight, bool puzzle)
{
    if (gPictures.width == 0 || kind < 0 || kind > int(TransitionKind::Radial) || direction < 0
        || direction > int(TravelDirection::Out))
        return -1;
    TransitionSettings settings;
    settings.kind = TransitionKind(kind);
    settings.direction = TravelDirection(direction);
    settings.bandWidth = bandWidth;
    settings.dissolve = dissolve;
    settings.style = style;
    settings.subStyle = subStyle;
    settings.reversed = reversed;
    settings.cols = cols;
    settings.rows = rows;
    settings.blockWidth = blockWidth;
    settings.blockHeight = blockHeight;
    settings.puzzle = puzzle;
    gPictures.frames = std::make_unique<TransitionFrames>(settings, gPictures.View(gPictures.oldBytes),
                                                          gPictures.View(gPictures.newBytes),
                                                          gPictures.View(gPictures.outBytes));
    return gPictures.frames->FrameCount();
}

// Draws frame `frame` of the running pass into the frame picture (frames only increase).
void LumettaDraw(int frame)
{
    if (gPictures.frames && frame > 0 && frame < gPictures.frames->FrameCount())
        gPictures.frames->Draw(frame);
}

// Ends the running pass: the frame picture shows the new picture.
void LumettaDrawLast()
{
    if (gPictures.frames)
        gPictures.frames->DrawLast();
    gPictures.frames.reset();
}

// The shared generator, which chooses effects and the shapes' random styles.
double LumettaRandomReal()
{
    return RandomReal();
}

// Draws the effect for a slide step from a selection of n entries as the player draws it: the
// generator advances at every step, and entry r * (n - 1) is taken, rounded half to even; -1
// for an empty selection.
int LumettaDrawEntry(int n)
{
    const double r = RandomReal();
    return n <= 0 ? -1 : int(RoundEven(r * (n - 1)));
}

// The gradient's band arithmetic: a * b / c rounded half away from zero.
int LumettaMulDiv(int a, int b, int c)
{
    return MulDiv(a, b, c);
}

void LumettaSetRandSeed(std::uint32_t seed)
{
    SetRandSeed(seed);
}

// Makes every later draw from the clock yield `seed` (a repeatable show).
void LumettaFixClock(std::uint32_t seed)
{
    gFixedClock = seed;
    SetClockSeedSource([] { return gFixedClock; });
}

// The slide's rectangle and its shadow's, as eight integers at `out` (left, top, width, height,
// twice); percent 0 keeps the picture's size. Returns whether the shadow is there.
bool LumettaPlaceSlide(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight, int percent,
                       bool shadow, int *out)
{
    const SlideGeometry geometry = PlaceSlide(pictureWidth, pictureHeight, screenWidth, screenHeight, percent, shadow);
    const SlideRect rects[] = {geometry.picture, geometry.shadow};
    for (const SlideRect &rect : rects) {
        *out++ = rect.left;
        *out++ = rect.top;
        *out++ = rect.width;
        *out++ = rect.height;
    }
    return geometry.hasShadow;
}

}  // extern "C"
