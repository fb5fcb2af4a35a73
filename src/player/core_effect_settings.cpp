// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/core_effect_settings.h"

#include "transitions/effects/blend_transition.h"
#include "transitions/effects/block_transition.h"
#include "transitions/effects/circle_transition.h"
#include "transitions/effects/drip_transition.h"
#include "transitions/effects/flicker_free_transition.h"
#include "transitions/effects/radial_transition.h"
#include "transitions/effects/wipe_transition.h"
#include "transitions/engine/bitmap.h"

namespace lumetta {

std::optional<TransitionSettings> CoreSettingsOf(const TTransitionEffect &effect)
{
    TransitionSettings settings;
    settings.direction = effect.GetTravelDirection();
    if (qobject_cast<const TFlickerFreeTransition *>(&effect)) {
        settings.kind = TransitionKind::Cut;
    } else if (qobject_cast<const TBlendTransition *>(&effect)) {
        settings.kind = TransitionKind::Blend;
        settings.dissolve = ScreenBitsPerPixel() <= 8;
    } else if (const auto *wipe = qobject_cast<const TWipeTransition *>(&effect)) {
        settings.kind = TransitionKind::Wipe;
        settings.bandWidth = wipe->BandWidth();
    } else if (qobject_cast<const TDripTransition *>(&effect)) {
        settings.kind = TransitionKind::Drip;
    } else if (const auto *masked = qobject_cast<const TMaskedTransition *>(&effect)) {
        settings.style = masked->Style();
        settings.subStyle = masked->SubStyle();
        settings.reversed = masked->Reversed();
        if (const auto *blocks = qobject_cast<const TBlockTransition *>(&effect)) {
            settings.kind = TransitionKind::Blocks;
            settings.cols = blocks->Cols();
            settings.rows = blocks->Rows();
            settings.blockWidth = blocks->BlockWidth();
            settings.blockHeight = blocks->BlockHeight();
            settings.puzzle = blocks->Puzzle();
        } else if (qobject_cast<const TCircleTransition *>(&effect)) {
            settings.kind = TransitionKind::Circle;
        } else if (qobject_cast<const TRadialTransition *>(&effect)) {
            settings.kind = TransitionKind::Radial;
        } else {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return settings;
}

}  // namespace lumetta
