// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a slide lies on the screen, in plain integers: the player, the video export and the web
// page (through WebAssembly) all take their rectangles from here, so they place slides alike.
namespace lumetta {

// How far the shadow lies right of and below the slide.
inline constexpr int kShadowOffset = 10;

struct SlideRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct SlideGeometry
{
    SlideRect picture;
    bool hasShadow = false;
    // The picture's rectangle moved by kShadowOffset; meaningful only with hasShadow.
    SlideRect shadow;
};

// Size of the slide: with a percentage (1 to 100), that share of the screen plus 3 pixels along
// the side the picture fills, the other side keeping the picture's proportions, halves rounded to
// even; with percent 0 (do not stretch) or an empty picture or screen, the picture's own size.
SlideRect SlideExtent(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight, int percent);

// The slide of that size centred on the whole screen (negative offsets when it is larger), and
// its shadow when wanted.
SlideGeometry PlaceSlide(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight, int percent,
                         bool shadow);

}  // namespace lumetta
