// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_motion.h"
#include "show/slide_transition.h"
#include "show/story_caption.h"

#include <QJsonObject>

#include <optional>

namespace lumetta {

// What one slide has of its own: a caption, a display time that overrides the show's interval,
// the transition into it and a slow pan and zoom over its picture. The default is a slide like every other.
struct SlideDetails
{
    // A day; longer is no slide show.
    static constexpr int kLongestDurationMs = 24 * 60 * 60 * 1000;

    StoryCaption caption;
    std::optional<int> durationMs;
    SlideTransition transition;
    std::optional<SlideMotion> motion;  // none: still, unless the show moves every slide gently
    // Keys of the story file this program does not know (a newer one's), written back unchanged:
    // the entry's own and the motion's.
    QJsonObject unknown;
    QJsonObject motionUnknown;

    bool IsEmpty() const
    {
        return caption.IsEmpty() && !durationMs && transition.kind == SlideTransition::Kind::Random
               && !motion && unknown.isEmpty()
               && motionUnknown.isEmpty();
    }
    bool operator==(const SlideDetails &other) const = default;
};

}  // namespace lumetta
