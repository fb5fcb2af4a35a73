// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/transition_effect.h"

namespace lumetta {

// The trivial effect: the new picture replaces the old one in one copy, without flicker.
class TFlickerFreeTransition : public TTransitionEffect
{
    Q_OBJECT

public:
    explicit TFlickerFreeTransition(QObject *owner = nullptr);

    QString GetDescription() const override;
    bool NeedSrcImage() const override;
    PixelFormat GetPixelFormat() const override;
    void RunTransition(PassData &data) override;
};

}  // namespace lumetta
