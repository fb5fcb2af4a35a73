// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// What every row kernel family shares. Each family has a plain reference Name_C, faster variants
// (Name_SSE2, Name_AVX2, or Name_Words for portable word-at-a-time code) and an unsuffixed Name
// that uses the family's variant in use. A family lists its variants in one table of structs
// whose first member is the variant's name: the reference first, then each faster variant this
// CPU runs, fastest last.
namespace lumetta {

// While set, kernels use their plain reference versions (tests, debugging). Starts set when the
// environment variable LUMETTA_REFERENCE_KERNELS is 1.
bool ReferenceKernels();
void SetReferenceKernels(bool on);

// True when this CPU runs AVX2 code; asked once.
bool CpuHasAvx2();

// The variant a family's unsuffixed entry points use: the reference while ReferenceKernels() is
// set, else the fastest.
template <class Kernels>
const Kernels &KernelsInUse(const std::vector<Kernels> &variants)
{
    return ReferenceKernels() ? variants.front() : variants.back();
}

}  // namespace lumetta
