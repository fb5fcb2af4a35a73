// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"
#include "transitions/effects/block_transition.h"
#include "transitions/effects/circle_transition.h"
#include "transitions/effects/drip_transition.h"
#include "transitions/effects/flicker_free_transition.h"
#include "transitions/effects/fuse_transition.h"
#include "transitions/effects/radial_transition.h"
#include "transitions/effects/wipe_transition.h"
#include "transitions/engine/transition_registry.h"

namespace lumetta {

// Every effect class of the library, under the names form descriptions and tools store, so they
// can create it by name. Static self-registration is not used: a static library drops
// unreferenced objects.
void RegisterTransitionClasses()
{
    RegisterTransitionClass<TFlickerFreeTransition>("TFlickerFreeTransition");
    RegisterTransitionClass<TBlendTransition>("TBlendTransition");
    RegisterTransitionClass<TFuseTransition>("TFuseTransition");
    RegisterTransitionClass<TRadialTransition>("TRadialTransition");
    RegisterTransitionClass<TBlockTransition>("TBlockTransition");
    RegisterTransitionClass<TCircleTransition>("TCircleTransition");
    RegisterTransitionClass<TWipeTransition>("TWipeTransition");
    RegisterTransitionClass<TDripTransition>("TDripTransition");
}

}  // namespace lumetta
