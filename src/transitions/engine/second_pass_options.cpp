// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/second_pass_options.h"

#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_registry.h"

namespace lumetta {

SecondPassOptions::SecondPassOptions(QObject *parent) : QObject(parent)
{
}

void SecondPassOptions::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const SecondPassOptions *>(source);
    if (!other)
        throw TransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                  .arg(source ? StoredClassName(source) : QStringLiteral("nil"), StoredClassName(this))
                                  .toStdString());
    distributedTime_ = other->distributedTime_;
    reversed_ = other->reversed_;
    useSolidColor_ = other->useSolidColor_;
    solidColor_ = other->solidColor_;
}

}  // namespace lumetta
