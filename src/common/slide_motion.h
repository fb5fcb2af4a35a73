// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Plain C++ only: the web show reuses this arithmetic.

namespace lumetta {

// A slow pan and zoom over a slide's picture: the part of the picture shown moves from one
// rectangle to another over the slide's time.
struct SlideMotion
{
    // A part of the picture in fractions of its width and height.
    struct Rect
    {
        double x = 0;
        double y = 0;
        double width = 1;
        double height = 1;

        bool operator==(const Rect &other) const = default;
    };

    enum class Easing { Linear, EaseInOut };

    // The smallest part shown, a twentieth of the picture across: deeper zooms show only blur.
    static constexpr double kSmallestFraction = 0.05;
    // Gentle zooms keep this much of the picture across at their closest: slow enough never to
    // hurry.
    static constexpr double kGentleLeast = 0.8;
    // How long a slide without a time of its own (a manual show's) takes over its motion, in ms.
    static constexpr double kUntimedMs = 10000;

    Rect start;
    Rect end;
    Easing easing = Easing::Linear;

    bool operator==(const SlideMotion &other) const = default;

    // RECT made sound: a side not a number or out of range becomes the whole side, sides at least
    // kSmallestFraction, the rectangle moved inside the picture.
    static Rect Clamped(const Rect &rect);
    // Moves of their own the editor offers: the whole picture to its middle three quarters and
    // back, and a sweep across the picture at four fifths of its size.
    static SlideMotion ZoomIn();
    static SlideMotion ZoomOut();
    static SlideMotion PanLeft();
    static SlideMotion PanRight();
    // A slow zoom in or out between the whole picture and a random part of it four fifths to
    // nine tenths across, drawn from the shared generator (so a seeded show repeats).
    static SlideMotion DrawGentle();
};

}  // namespace lumetta
