// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/transition_frames.h"

#include <optional>

namespace lumetta {

class TTransitionEffect;

// An effect's settings as the transition core takes them (the web page's WebAssembly core, tests
// that compare the core with the effect classes); nullopt for a class the core does not draw.
// A blend dissolves on palette screens, as the effect does.
std::optional<TransitionSettings> CoreSettingsOf(const TTransitionEffect &effect);

}  // namespace lumetta
