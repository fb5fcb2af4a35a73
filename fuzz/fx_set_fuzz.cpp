// SPDX-License-Identifier: GPL-3.0-or-later
// lumetta-fx's --set values on each effect class: the first byte picks the class, the second
// the screen depth, each further line is one PROP=VALUE as --set takes it. As lumetta-fx does,
// the first value refused ends the input; when all are taken the effect runs.
#include "effect_runs.h"
#include "fuzz_support.h"

#include "transitions/engine/form_reader.h"

#include <memory>

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    if (size < 2)
        return 0;
    const QStringList &classes = fuzz::EffectClasses();
    std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(classes[data[0] % classes.size()]));
    const QStringList assignments =
        QString::fromUtf8(fuzz::Bytes(data + 2, size - 2)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    try {
        for (const QString &assignment : assignments)
            SetPropertyFromAssignment(effect.get(), assignment);
    } catch (const TransitionError &) {
        return 0;
    }
    fuzz::RunSmall(*effect, data[1]);
    return 0;
}
