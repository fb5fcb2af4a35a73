// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/pixel_helpers.h"

#include "transitions/core/kernels/row_kernels.h"

using namespace lumetta;

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
