// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/kernels/row_kernels.h"

namespace lumetta {
namespace {

bool InitialReference()
{
    return qEnvironmentVariableIntValue("LUMETTA_REFERENCE_KERNELS") == 1;
}

bool gReference = InitialReference();

}  // namespace

int BytesPerPixel(const QImage &image)
{
    return (image.depth() + 7) / 8;
}

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
