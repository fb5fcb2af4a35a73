// SPDX-License-Identifier: GPL-3.0-or-later
// The form reader on property values: the first byte picks the effect class, the second the
// screen depth, the rest is the body of one effect in a list; what was read then runs.
#include "effect_runs.h"
#include "fuzz_support.h"

#include "transitions/engine/form_reader.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    if (size < 2)
        return 0;
    const QStringList &classes = fuzz::EffectClasses();
    const QString text =
        QStringLiteral("object Trans: TTransitionList\n  object Effect: %1\n").arg(classes[data[0] % classes.size()])
        + QString::fromUtf8(fuzz::Bytes(data + 2, size - 2)) + QStringLiteral("\n  end\nend\n");
    TTransitionList list;
    try {
        ReadTransitionList(text, &list);
    } catch (const TransitionError &) {
        return 0;
    }
    if (list.Count() != 1)
        std::abort();
    fuzz::RunSmall(*list.Items(0), data[1]);
    return 0;
}
