// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "transitions/engine/form_reader.h"
#include "transitions/transitions.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    TTransitionList list;
    try {
        ReadTransitionList(QString::fromUtf8(fuzz::Bytes(data, size)), &list);
    } catch (const TransitionError &) {
    }
    return 0;
}
