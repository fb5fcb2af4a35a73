#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;

namespace lumetta {

// Colour of the slide's shadow.
inline constexpr QRgb kShadowColor = 0xFF303030;
// How far the shadow lies right of and below the slide.
inline constexpr int kShadowOffset = 10;

// Size of the slide for a picture on a screen: with a percentage, that share of the screen
// plus 3 pixels along the side the picture fills, the other side keeping the picture's
// proportions; without one (line 1 "No"), the picture's own size.
QSize SlideSize(QSize picture, QSize screen, std::optional<int> percent);

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

}  // namespace lumetta
