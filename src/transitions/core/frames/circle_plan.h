// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The circle effect's geometry without any bitmap: where the disc is centred and how many frames
// a pass has (circle_frames.h walks the rectangles each frame touches).
namespace lumetta {

struct CirclePlan
{
    int cx = 0;
    int cy = 0;
    // The radius that reaches the farthest corner; also the frame count.
    int frames = 0;
    bool grows = true;
    // False for sub-styles the style does not offer: the frames pass without drawing.
    bool draws = false;
};

// Style 1 centres on the picture, 2 on a corner, 3 on the middle of an edge. Sub-styles k and
// k + 4 of styles 2 and 3 (1 and 2 of style 1) grow and shrink about the same point. A style
// outside 1..3, or style 3 with a sub-style outside 1..8, has no frames.
CirclePlan MakeCirclePlan(int width, int height, int style, int subStyle);

// Sub-styles per style: 2 for style 1, 8 for styles 2 and 3, 0 for the random style, else 1.
int CircleSubStyleCount(int style);

// The sub-style with the opposite motion about the same point.
int CircleReversedSubStyle(int style, int subStyle);

}  // namespace lumetta
