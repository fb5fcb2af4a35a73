// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetta {

// Width and height of a picture or a mask, in pixels.
struct PixelSize
{
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelSize &, const PixelSize &) = default;
};

}  // namespace lumetta
