// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_motion.h"

namespace lumetta {

// How the editor moves and sizes a motion's rectangle (fractions of the picture): it always stays
// inside the picture, keeps its proportions and is never smaller than the smallest part a motion
// shows.
class MotionRectEdit
{
public:
    // RECT moved by DX, DY, stopped at the picture's edges.
    static SlideMotion::Rect Moved(const SlideMotion::Rect &rect, double dx, double dy);
    // RECT scaled by FACTOR about its centre, as far as the picture and the smallest size allow.
    static SlideMotion::Rect Scaled(const SlideMotion::Rect &rect, double factor);
    // RECT with its top-left corner kept and its bottom-right corner dragged to X, Y: the larger
    // of the two scales wins, so the corner follows the pointer along either side.
    static SlideMotion::Rect DraggedTo(const SlideMotion::Rect &rect, double x, double y);
};

}  // namespace lumetta
