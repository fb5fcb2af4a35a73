// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/pixel_helpers.h"

#include "transitions/row_kernels.h"

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
