#include "transitions/circle_plan.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>

namespace lumetta {
namespace {

int distance(int dx, int dy)
{
    return int(RoundEven(std::sqrt(double(dx) * dx + double(dy) * dy)));
}

QRect box(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

// The largest f whose square (-f, -f, f, f) lies within the disc of radius r.
int inscribedHalfSide(int r)
{
    int f = int(std::sqrt(double(r) * r / 2));
    while (2.0 * f * f > double(r) * r)
        --f;
    return std::max(f, 0);
}

}  // namespace

CirclePlan MakeCirclePlan(int W, int H, int style, int subStyle)
{
    CirclePlan plan;
    if (style == 1) {
        plan.cx = W / 2, plan.cy = H / 2;
        plan.frames = distance(W / 2, H / 2);
        plan.draws = subStyle == 1 || subStyle == 2;
        plan.grows = subStyle != 2;
        return plan;
    }
    if (style != 2 && style != 3)
        return plan;
    if (style == 3 && (subStyle < 1 || subStyle > 8))
        return plan;
    const int point = (subStyle - 1) % 4 + 1;
    plan.draws = subStyle >= 1 && subStyle <= 8;
    plan.grows = !plan.draws || subStyle <= 4;
    if (style == 2) {
        plan.frames = distance(W, H);
        static const int corners[4][2] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
        if (plan.draws) {
            plan.cx = corners[point - 1][0] * W;
            plan.cy = corners[point - 1][1] * H;
        }
        return plan;
    }
    switch (point) {
    case 1:
        plan.cx = 0, plan.cy = H / 2, plan.frames = distance(W, H / 2);
        break;
    case 2:
        plan.cx = W, plan.cy = H / 2, plan.frames = distance(W, H / 2);
        break;
    case 3:
        plan.cx = W / 2, plan.cy = 0, plan.frames = distance(W / 2, H);
        break;
    default:
        plan.cx = W / 2, plan.cy = H, plan.frames = distance(W / 2, H);
        break;
    }
    return plan;
}

int CircleSubStyleCount(int style)
{
    switch (style) {
    case 0:
        return 0;
    case 1:
        return 2;
    case 2:
    case 3:
        return 8;
    default:
        return 1;
    }
}

int CircleReversedSubStyle(int style, int subStyle)
{
    if (style == 1 && (subStyle == 1 || subStyle == 2))
        return 3 - subStyle;
    if ((style == 2 || style == 3) && subStyle >= 1 && subStyle <= 8)
        return subStyle <= 4 ? subStyle + 4 : subStyle - 4;
    return subStyle;
}

CircleFrames::CircleFrames(const CirclePlan &plan, int width, int height)
    : plan_(plan)
    , picture_(0, 0, width, height)
    , previous_(picture_)
    , next_(picture_)
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
        const int f = inscribedHalfSide(previousRadius_);
        frame.unchanged = box(cx - f, cy - f, cx + f, cy + f) & picture_;
        frame.radius = r;
        frame.disc = box(cx - r, cy - r, cx + r, cy + r);
        frame.update = frame.disc & picture_;
        previousRadius_ = r;
        return frame;
    }
    const int r = plan_.frames - current + 1;
    const int f = int(RoundEven(std::sqrt(double((r * r) / 2))));
    frame.unchanged = box(cx - f, cy - f, cx + f, cy + f) & previous_;
    frame.update = next_ & picture_;
    frame.radius = r;
    frame.disc = box(cx - r, cy - r, cx + r, cy + r);
    next_ = box(cx - r - step, cy - r - step, cx + r + step, cy + r + step);
    previous_ = frame.update;
    return frame;
}

}  // namespace lumetta
