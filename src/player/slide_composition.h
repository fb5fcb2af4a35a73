// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_geometry.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;

namespace lumetta {

class ShowSettings;
struct PicturePlacement;

// Colour of the slide's shadow.
inline constexpr QRgb kShadowColor = 0xFF303030;

// Size of the slide for a picture on a screen: with a percentage, that share of the screen
// plus 3 pixels along the side the picture fills, the other side keeping the picture's
// proportions; without one (line 1 "No"), the picture's own size.
QSize SlideSize(QSize picture, QSize screen, std::optional<int> percent);

// The shadow cast by PICTURE (already scaled to the slide): a box of kShadowColor for an
// opaque picture, else the picture's shape in that colour, with its transparency kept.
QImage ShadowOf(const QImage &picture);

// Top-left of a slide centred on the whole screen (negative when the slide is larger).
QPoint SlidePosition(QSize slide, QSize screen);

// Where the slide and, if wanted, its shadow lie in the panel's coordinates (origin at the
// screen's top-left corner).
struct SlideLayout
{
    QRect picture;
    std::optional<QRect> shadow;
};
SlideLayout LayOutSlide(QSize picture, QSize screen, std::optional<int> percent, bool shadow);

// Fills the painter's clip rectangle (the whole device when it does not clip) with 256
// horizontal bands from `from` at the top to `to` at the bottom, band edges and colours
// computed with MulDiv; the first band is exactly `from`, the last exactly `to`.
void GradientRect(const QColor &from, const QColor &to, QPainter &canvas);

// A new bitmap of `size` holding GradientRect's gradient.
QImage GradientBitmap(QSize size, const QColor &from, const QColor &to);

// What the slide panel shows, painted as the player's widgets paint it: the panel's colour,
// `background` (the background control's composed image, may be null) at the top-left, then the
// shadow and `picture` (already scaled to the slide's size) where `slide` places them. Without a
// slide only the background shows, as at the start of a show.
QImage PaintSlideArea(QSize area, const QColor &panel, const QImage &background,
                      const std::optional<SlideLayout> &slide, const QImage &picture);

// The background a show starts with, from lines 4 and 6.
struct BackgroundSetup
{
    enum class Kind {
        Unchanged,  // line 6 neither "Color" nor "BackFile": the previous show's background stays
        Plain,  // equal colour texts: no picture, the panel takes `colour`
        Gradient,  // `picture` is a screen-sized gradient bitmap
        Picture,  // `picture` is the background file's picture
    };
    Kind kind = Kind::Unchanged;
    QColor colour;
    QImage picture;
};

// Builds the background for a screen of `screen` device pixels. Colour texts that cannot be
// read count as black. Throws PictureError when the background file cannot be loaded.
BackgroundSetup BuildBackground(const ShowSettings &settings, QSize screen);

// The picture control's mode after line 7: "Tile" turns tiling on and keeps the rest,
// "Center" and "Stretch" set all three, anything else changes nothing.
PicturePlacement PlacementMode(const ShowSettings &settings, PicturePlacement current);

}  // namespace lumetta
