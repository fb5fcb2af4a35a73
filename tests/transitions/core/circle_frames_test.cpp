// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/circle_frames.h"
#include "transitions/engine/core_conversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetta {

// The unchanged rectangle may only hold pixels that keep their picture: for a growing disc
// their centres lie inside the previous disc, for a shrinking one inside the current disc.
TEST(CircleFrames, UnchangedRectanglesHoldOnlySettledPixels)
{
    for (int style = 1; style <= 3; ++style)
        for (int sub = 1; sub <= CircleSubStyleCount(style); ++sub) {
            const CirclePlan plan = MakeCirclePlan(300, 200, style, sub);
            CircleFrames frames(plan, 300, 200);
            int previousRadius = 0;
            bool sawUnchanged = false;
            for (int f = 1, step = 1; f < plan.frames; step = 1 + f % 3, f += step) {
                const CircleFrame fr = frames.Frame(f, step);
                const QRect u = QRectOf(fr.unchanged);
                const int r = plan.grows ? previousRadius : fr.radius;
                if (!u.isEmpty()) {
                    sawUnchanged = true;
                    double far = 0;
                    for (int x : {u.left(), u.right()})
                        for (int y : {u.top(), u.bottom()})
                            far = std::max(far, std::hypot(x + 0.5 - plan.cx, y + 0.5 - plan.cy));
                    ASSERT_LE(far, r) << style << "/" << sub << " frame " << f;
                    ASSERT_TRUE(QRectOf(fr.update).contains(u)) << style << "/" << sub << " frame " << f;
                }
                previousRadius = fr.radius;
            }
            EXPECT_TRUE(sawUnchanged) << style << "/" << sub;
        }
}

}  // namespace lumetta
