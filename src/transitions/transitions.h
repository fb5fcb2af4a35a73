// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transition library in one include: effect base and list, render window, class registry.
// See transition_effect.h for how to use and write effects.

#include "transitions/effects/flicker_free_transition.h"
#include "transitions/engine/frame_stepping.h"
#include "transitions/engine/pass_data.h"
#include "transitions/engine/render_window.h"
#include "transitions/engine/second_pass_options.h"
#include "transitions/engine/transition_aborted.h"
#include "transitions/engine/transition_effect.h"
#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_list.h"
#include "transitions/engine/transition_registry.h"

namespace lumetta {

}  // namespace lumetta
