// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <optional>

namespace lumetta {

// What a slide's picture is prepared for besides its file: the screen (device pixels) and the
// show's picture size and shadow settings.
struct SlideRequest
{
    QSize screen;
    std::optional<int> percent;
    bool shadow = false;

    bool operator==(const SlideRequest &) const = default;
};

}  // namespace lumetta
