// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/row_kernels.h"

#include <cstdlib>

namespace lumetta {
namespace {

bool InitialReference()
{
    const char *value = std::getenv("LUMETTA_REFERENCE_KERNELS");
    if (!value)
        return false;
    char *end = nullptr;
    return std::strtol(value, &end, 0) == 1 && end != value && *end == '\0';
}

bool gReference = InitialReference();

}  // namespace

bool ReferenceKernels()
{
    return gReference;
}

void SetReferenceKernels(bool on)
{
    gReference = on;
}

bool CpuHasAvx2()
{
#if defined(__x86_64__)
    static const bool kAvx2 = [] {
        __builtin_cpu_init();
        return bool(__builtin_cpu_supports("avx2"));
    }();
    return kAvx2;
#else
    return false;
#endif
}

}  // namespace lumetta
