#include "transitions/pixel_helpers.h"

#include "transitions/teRows.h"

namespace lumetta::test {

ReferenceSwitch::ReferenceSwitch(bool on) : saved(ReferenceKernels())
{
    SetReferenceKernels(on);
}

ReferenceSwitch::~ReferenceSwitch()
{
    SetReferenceKernels(saved);
}

}  // namespace lumetta::test
