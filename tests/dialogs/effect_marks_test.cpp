// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/effect_marks.h"
#include "support/qstring_print.h"

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

QStringList Numbers(int from, int to)
{
    QStringList numbers;
    for (int i = from; i <= to; ++i)
        numbers << QString::number(i);
    return numbers;
}

const QStringList kStandard{"1", "2", "4", "6", "9", "11", "12", "13", "14", "15", "17", "19", "20"};

TEST(EffectMarks, PresetsCheckTheirRows)
{
    struct Case
    {
        EffectMarks::Preset preset;
        QStringList selection;
    };
    for (const Case &c : {Case{EffectMarks::Preset::Standard, kStandard},
                          Case{EffectMarks::Preset::All, Numbers(0, 20)}, Case{EffectMarks::Preset::Another, {}}}) {
        EffectMarks marks;
        marks.SetChecked(0, true);
        marks.SetChecked(3, true);
        marks.ApplyPreset(c.preset);
        EXPECT_EQ(marks.Selection(), c.selection) << int(c.preset);
    }
}

TEST(EffectMarks, LoadChecksReadableRowsInAnyOrder)
{
    struct Case
    {
        QStringList selection;
        QStringList checked;
    };
    const Case cases[] = {
        {{"20", "3"}, {"3", "20"}},
        {{"5", "5", "0"}, {"0", "5"}},
        {{"21", "-1", "x", "", "7"}, {"7"}},
        {{}, {}},
    };
    for (const Case &c : cases) {
        EffectMarks marks;
        marks.ApplyPreset(EffectMarks::Preset::All);
        marks.Load(c.selection);
        EXPECT_EQ(marks.Selection(), c.checked) << c.selection.join(',').toStdString();
    }
}

}  // namespace
