#include "transitions/TransEff.h"
#include "transitions/blend_transition.h"
#include "transitions/block_transition.h"
#include "transitions/circle_transition.h"
#include "transitions/drip_transition.h"
#include "transitions/fuse_transition.h"
#include "transitions/radial_transition.h"
#include "transitions/wipe_transition.h"

// Every effect class of the library, so form descriptions and tools can create it by name.
// Static self-registration is not used: a static library drops unreferenced objects.
void RegisterTransitionClasses()
{
    RegisterTransitionClass<TFlickerFreeTransition>();
    RegisterTransitionClass<TBlendTransition>();
    RegisterTransitionClass<TFuseTransition>();
    RegisterTransitionClass<TRadialTransition>();
    RegisterTransitionClass<TBlockTransition>();
    RegisterTransitionClass<TCircleTransition>();
    RegisterTransitionClass<TWipeTransition>();
    RegisterTransitionClass<TDripTransition>();
}
