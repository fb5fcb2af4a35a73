// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_frames.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>

namespace lumetta {
namespace {

// The largest f whose square (-f, -f, f, f) lies within the disc of radius r.
int InscribedHalfSide(int r)
{
    int f = int(std::sqrt(double(r) * r / 2));
    while (2.0 * f * f > double(r) * r)
        --f;
    return std::max(f, 0);
}

}  // namespace

CircleFrames::CircleFrames(const CirclePlan &plan, int width, int height)
    : plan_(plan),
      picture_{0, 0, width, height},
      previous_(picture_),
      next_(picture_)
{
}

CircleFrame CircleFrames::Frame(int current, int step)
{
    const int cx = plan_.cx, cy = plan_.cy;
    CircleFrame frame;
    if (plan_.grows) {
        const int r = current;
        // Everything inside the previous disc shows the new picture already; its inscribed
        // square, clipped to the picture, need not be presented again. (Shrinking the clipped
        // bounds instead would leave most of a disc larger than the picture to be copied.)
        const int f = InscribedHalfSide(previousRadius_);
        frame.unchanged = Intersect({cx - f, cy - f, cx + f, cy + f}, picture_);
        frame.radius = r;
        frame.disc = {cx - r, cy - r, cx + r, cy + r};
        frame.update = Intersect(frame.disc, picture_);
        previousRadius_ = r;
        return frame;
    }
    const int r = plan_.frames - current + 1;
    const int f = int(RoundEven(std::sqrt(double((r * r) / 2))));
    frame.unchanged = Intersect({cx - f, cy - f, cx + f, cy + f}, previous_);
    frame.update = Intersect(next_, picture_);
    frame.radius = r;
    frame.disc = {cx - r, cy - r, cx + r, cy + r};
    next_ = {cx - r - step, cy - r - step, cx + r + step, cy + r + step};
    previous_ = frame.update;
    return frame;
}

}  // namespace lumetta
