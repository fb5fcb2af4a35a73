#include "transitions/TransEff.h"
#include "transitions/teBlend.h"
#include "transitions/teBlock.h"
#include "transitions/teCircle.h"
#include "transitions/teDrip.h"
#include "transitions/teFuse.h"
#include "transitions/teRadial.h"
#include "transitions/teWipe.h"

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
