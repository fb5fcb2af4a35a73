// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/blend_frames.h"
#include "transitions/core/frames/block_shape.h"
#include "transitions/core/frames/circle_shape.h"
#include "transitions/core/frames/drip_frames.h"
#include "transitions/core/frames/frame_change.h"
#include "transitions/core/frames/masked_frames.h"
#include "transitions/core/frames/radial_shape.h"
#include "transitions/core/frames/travel_direction.h"
#include "transitions/core/frames/wipe_frames.h"
#include "transitions/core/pixels/pixel_view.h"

// The frames of a transition from two pictures, for a program without Qt (a browser, a plain
// C++ program, a binding): the same pixels the effect classes draw.
//
//     TransitionFrames frames(settings, oldView, newView, outView);
//     for (int f = 1; f < frames.FrameCount(); ++f) { frames.Draw(f); show(outView); }
//     frames.DrawLast();
namespace lumetta {

// The effect classes, by what they draw: a cut (TFlickerFreeTransition), a blend
// (TBlendTransition), a wipe (TWipeTransition), a drip (TDripTransition), and the shapes drawn
// through a mask: blocks (TBlockTransition), a circle (TCircleTransition) and radial sweeps
// (TRadialTransition).
enum class TransitionKind { Cut, Blend, Wipe, Drip, Blocks, Circle, Radial };

// An effect's settings as plain values.
struct TransitionSettings
{
    TransitionKind kind = TransitionKind::Cut;
    // The direction of travel with any reversal applied (wipes and drips).
    TravelDirection direction = TravelDirection::Right;
    // A wipe's soft band, 0 for none; straight wipes only.
    int bandWidth = 0;
    // A blend dissolves through the ordered-dither pattern instead of mixing (palette screens).
    bool dissolve = false;
    // The shapes' style and sub-style as the effect stores them: 0 draws one at random from
    // the shared generator, seeded afresh from the clock, as the effect classes do. Reversed
    // plays the sub-style backwards.
    int style = 1;
    int subStyle = 1;
    bool reversed = false;
    // Blocks: the grid (columns and rows, or block sides when they are 0) and jigsaw pieces.
    int cols = 0;
    int rows = 0;
    int blockWidth = 50;
    int blockHeight = 50;
    bool puzzle = false;
};

class TransitionFrames
{
public:
    // The two pictures and out share size and layout (Indexed8 pictures share a palette); out
    // starts as a copy of the old picture, and the frames are drawn into it in place.
    TransitionFrames(const TransitionSettings &settings, const ConstPixelView &oldPicture,
                     const ConstPixelView &newPicture, const PixelView &out);

    // Frames 1..FrameCount()-1 lie between the old picture (0) and the new one; a cut has none.
    int FrameCount() const { return frameCount_; }

    // Draws frame `frame` into out: frames come in increasing order and may skip some. Returns
    // what the frame changed.
    FrameChange Draw(int frame);

    // Ends the pass: out shows the new picture.
    void DrawLast();

private:
    void BeginShape();
    FrameChange DrawShape(int frame, int step);

    TransitionSettings settings_;
    ConstPixelView old_;
    ConstPixelView new_;
    PixelView out_;
    int frameCount_ = 0;
    int previous_ = 0;
    BlendFrames blend_;
    WipeFrames wipe_;
    DripFrames drip_;
    MaskedFrames masked_;
    BlockShape blocks_;
    CircleShape circle_;
    RadialShape radial_;
};

}  // namespace lumetta
