// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/kernels/tile_pattern.h"
#include "transitions/core/pixels/pixel_view.h"

#include <optional>

namespace lumetta {

// The frames of a cross-fade: 64 levels of channel mix (16 on 15- and 16-bit pictures), or, for
// a palette screen, a dissolve through the 8 x 8 ordered-dither pattern.
class BlendFrames
{
public:
    // Starts a pass over pictures of layout and returns its frame count.
    int Begin(PixelLayout layout, bool dissolve);
    bool Dissolves() const { return pattern_.has_value(); }

    // Draws frame `frame` onto target, which holds the frame drawn before (the old picture
    // before the first frame of a dissolve; a mix writes every pixel and needs no start).
    void Draw(int frame, const ConstPixelView &oldPicture, const ConstPixelView &newPicture, const PixelView &target);

    // Mix level of frame F: 4F on 15- and 16-bit pictures, else F.
    static int LevelOfFrame(PixelLayout layout, int frame);

private:
    PixelLayout layout_ = PixelLayout::Rgb32;
    // The cells already showing the new picture in a dissolve.
    std::optional<TilePattern> pattern_;
};

}  // namespace lumetta
