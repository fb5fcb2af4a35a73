// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <optional>

namespace lumetta {

// What a slide's picture is prepared for besides its file: the screen (device pixels) and the
// show's picture size and shadow settings, and how much detail its moving slides want.
struct SlideRequest
{
    QSize screen;
    std::optional<int> percent;
    bool shadow = false;
    // Times the slide's size a moving slide's picture is kept at; 0: no slide of the show moves.
    double motionDetail = 0;

    bool operator==(const SlideRequest &) const = default;
};

}  // namespace lumetta
