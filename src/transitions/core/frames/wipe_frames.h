// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/band_mask.h"
#include "transitions/core/frames/frame_change.h"
#include "transitions/core/frames/travel_direction.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"

namespace lumetta {

// The frames of a wipe: the new picture uncovered from an edge, a corner, the rim or the middle.
// A straight wipe may lead with a soft band that mixes the two pictures through a random mask.
class WipeFrames
{
public:
    // Starts a pass over a width x height area and returns its frame count. bandWidth counts for
    // the straight directions only. The band mask is kept between passes while its direction and
    // size hold; building it draws from the shared generator.
    int Begin(TravelDirection direction, int bandWidth, int width, int height);

    // Draws frame `frame`, `step` frames after the previous one, onto target, which holds the
    // frame drawn before (the old picture at first). A band frame draws its mask offset from the
    // shared generator.
    FrameChange Draw(int frame, int step, const ConstPixelView &oldPicture, const ConstPixelView &newPicture,
                     const PixelView &target);

    // The band mask kept between passes (null before the first pass with a band).
    const BandMask &Band() const { return mask_; }

private:
    bool IsStraight() const;
    void DrawStraight(int step, const ConstPixelView &oldPicture, const ConstPixelView &newPicture,
                      const PixelView &target);
    void DrawCorner(int frame, const ConstPixelView &newPicture, const PixelView &target);
    void DrawInOut(int frame, const ConstPixelView &newPicture, const PixelView &target);
    // Copies r of the new picture onto target and adds it to the frame's update rectangle.
    void CopyNew(const HalfOpenRect &r, const ConstPixelView &newPicture, const PixelView &target);
    // Adds r, clipped to the picture, to the frame's update rectangle.
    void AddUpdate(const HalfOpenRect &r);
    HalfOpenRect Clipped(const HalfOpenRect &r) const;

    BandMask mask_;
    TravelDirection direction_ = TravelDirection::Right;
    int width_ = 0;
    int height_ = 0;
    int bandWidth_ = 0;
    int frames_ = 0;
    HalfOpenRect uncovered_;
    HalfOpenRect band_;
    int maskX_ = 0;
    int maskY_ = 0;
    FrameChange change_;
};

}  // namespace lumetta
