// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/effect_marks.h"

namespace lumetta {

bool EffectMarks::Checked(int row) const
{
    return row >= 0 && row < kOfferedEffectCount && marks_[row];
}

void EffectMarks::SetChecked(int row, bool checked)
{
    if (row >= 0 && row < kOfferedEffectCount)
        marks_[row] = checked;
}

void EffectMarks::ApplyPreset(Preset preset)
{
    Clear();
    switch (preset) {
    case Preset::Standard:
        for (int row : StandardEffectSet())
            SetChecked(row, true);
        break;
    case Preset::All:
        marks_.fill(true);
        break;
    case Preset::Another:
        break;
    }
}

void EffectMarks::Load(const QStringList &selection)
{
    Clear();
    for (const QString &entry : selection) {
        bool ok = false;
        const int row = entry.trimmed().toInt(&ok);
        if (ok)
            SetChecked(row, true);
    }
}

QStringList EffectMarks::Selection() const
{
    QStringList numbers;
    for (int row = 0; row < kOfferedEffectCount; ++row)
        if (marks_[row])
            numbers << QString::number(row);
    return numbers;
}

}  // namespace lumetta
