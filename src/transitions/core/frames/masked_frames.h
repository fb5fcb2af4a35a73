// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/mono_bitmap.h"
#include "transitions/core/pixels/pixel_view.h"

#include <optional>

namespace lumetta {

// The frames of the shape effects: each frame paints its shape on a 1-bit mask, and the new
// picture is copied wherever the mask is set, over the rows the frame changed.
class MaskedFrames
{
public:
    // Masks for a width x height area, MaskedBitmapWidth(width) wide; with deltaMask a second
    // mask keeps what earlier frames set, so that only newly set pixels are copied.
    void Begin(int width, int height, bool deltaMask);
    // Frees the masks.
    void End();

    // The current frame's mask and the accumulated one, between Begin and End only.
    MonoBitmap *Mask() { return mask_ ? &*mask_ : nullptr; }
    MonoBitmap *PrevMask() { return prevMask_ ? &*prevMask_ : nullptr; }

    // Readies the painted mask for Combine: inverted unless white marks the new picture, then,
    // with a delta mask, keeps only pixels no earlier frame set.
    void Prepare(bool whiteIsNew);

    // Rows top..bottom-1 of work take newPicture where the mask is set and oldPicture elsewhere
    // (left as they are when oldPicture is work itself or null). All pictures share a layout of
    // 4 bits or more; nothing is combined otherwise.
    void Combine(int top, int bottom, const ConstPixelView &newPicture, const ConstPixelView &oldPicture,
                 const PixelView &work) const;

    // Clears the mask for the next frame.
    void ClearMask();

private:
    std::optional<MonoBitmap> mask_;
    std::optional<MonoBitmap> prevMask_;
};

}  // namespace lumetta
