// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_plan.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>

namespace lumetta {
namespace {

int Distance(int dx, int dy)
{
    return int(RoundEven(std::sqrt(double(dx) * dx + double(dy) * dy)));
}

}  // namespace

CirclePlan MakeCirclePlan(int w, int h, int style, int subStyle)
{
    CirclePlan plan;
    if (style == 1) {
        plan.cx = w / 2, plan.cy = h / 2;
        plan.frames = Distance(w / 2, h / 2);
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
        plan.frames = Distance(w, h);
        static const int kCorners[4][2] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
        if (plan.draws) {
            plan.cx = kCorners[point - 1][0] * w;
            plan.cy = kCorners[point - 1][1] * h;
        }
        return plan;
    }
    switch (point) {
    case 1:
        plan.cx = 0, plan.cy = h / 2, plan.frames = Distance(w, h / 2);
        break;
    case 2:
        plan.cx = w, plan.cy = h / 2, plan.frames = Distance(w, h / 2);
        break;
    case 3:
        plan.cx = w / 2, plan.cy = 0, plan.frames = Distance(w / 2, h);
        break;
    default:
        plan.cx = w / 2, plan.cy = h, plan.frames = Distance(w / 2, h);
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
