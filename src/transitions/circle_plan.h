#pragma once

#include <QRect>

// The circle effect's geometry without any bitmap: where the disc is centred, how many frames
// a pass has, and which rectangles each frame touches.
namespace lumetta {

struct CirclePlan {
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

// The rectangles of one frame, in picture coordinates.
struct CircleFrame {
    int radius = 0;
    QRect disc;       // the box the disc is inscribed in, not clipped
    QRect update;     // what changes, clipped to the picture
    QRect unchanged;  // the part of update that still shows the same picture; may be empty
};

// Walks the frames of one pass, keeping the previous frame's bounds.
class CircleFrames {
public:
    CircleFrames(const CirclePlan &plan, int width, int height);
    // Frame `current`, drawn `step` frames after the previous call; frames come in increasing order.
    CircleFrame Frame(int current, int step);

private:
    CirclePlan plan_;
    QRect picture_;
    int previousRadius_ = 0;
    QRect previous_;
    QRect next_;
};

}  // namespace lumetta
