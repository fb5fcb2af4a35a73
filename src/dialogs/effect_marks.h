// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/effect_catalogue.h"

#include <QStringList>

#include <array>

namespace lumetta {

// The check marks of the transition selection dialog, one per offered effect, and how they
// turn into an EffectSelection and back.
class EffectMarks
{
public:
    // The presets of the dialog's combo, in its item order.
    enum class Preset { Standard = 0, All = 1, Another = 2 };

    bool Checked(int row) const;
    // Rows outside 0..20 are ignored.
    void SetChecked(int row, bool checked);
    void Clear() { marks_.fill(false); }
    // Unchecks everything, then checks the preset's rows ("Another set" checks none).
    void ApplyPreset(Preset preset);
    // Unchecks everything, then checks the row of every entry that reads as a number 0..20;
    // other entries check nothing.
    void Load(const QStringList &selection);
    // The checked rows in ascending order as decimal text.
    QStringList Selection() const;

private:
    std::array<bool, kOfferedEffectCount> marks_{};
};

}  // namespace lumetta
