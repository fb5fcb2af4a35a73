// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_plan.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>

namespace lumetta {
namespace {

int distance(int dx, int dy)
{
    return int(RoundEven(std::sqrt(double(dx) * dx + double(dy) * dy)));
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

}  // namespace lumetta
