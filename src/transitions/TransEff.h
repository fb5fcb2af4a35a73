// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transition library in one include: effect base and list, render window, class registry.
// See transition_effect.h for how to use and write effects.

#include "transitions/flicker_free_transition.h"
#include "transitions/frame_stepping.h"
#include "transitions/pass_data.h"
#include "transitions/render_window.h"
#include "transitions/second_pass_options.h"
#include "transitions/transition_aborted.h"
#include "transitions/transition_effect.h"
#include "transitions/transition_error.h"
#include "transitions/transition_list.h"
#include "transitions/transition_registry.h"
