// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/effect_selection_dialog.h"

#include "support/fake_questions.h"
#include "support/form_object_names.h"
#include "support/qstring_print.h"
#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace lumetta;
using namespace lumetta::object_names;

namespace {

const QStringList kStandard{"1", "2", "4", "6", "9", "11", "12", "13", "14", "15", "17", "19", "20"};

class EffectSelectionDialogTest : public ::testing::Test
{
protected:
    QStringList selection_{"0", "5"};
    FakeQuestions questions_;
    EffectSelectionDialog dialog_{selection_, &questions_};

    QComboBox *Combo() { return dialog_.findChild<QComboBox *>(kPresetBox); }
    QListWidget *List() { return dialog_.findChild<QListWidget *>(kEffectList); }
    void Click(const char *name) { QTest::mouseClick(dialog_.findChild<QPushButton *>(name), Qt::LeftButton); }

    QStringList CheckedRows()
    {
        QStringList rows;
        for (int row = 0; row < List()->count(); ++row)
            if (List()->item(row)->checkState() == Qt::Checked)
                rows << QString::number(row);
        return rows;
    }
    // Toggles a row's check box from the keyboard, as a user does.
    void Toggle(int row)
    {
        List()->setFocus();
        List()->setCurrentRow(row);
        QTest::keyClick(List(), Qt::Key_Space);
    }
    // Picks a preset from the keyboard: the combo moves one item per arrow key.
    void PickPreset(int index)
    {
        Combo()->setFocus();
        while (Combo()->currentIndex() < index)
            QTest::keyClick(Combo(), Qt::Key_Down);
        while (Combo()->currentIndex() > index)
            QTest::keyClick(Combo(), Qt::Key_Up);
    }
    void Open()
    {
        dialog_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }
};

TEST_F(EffectSelectionDialogTest, StartsWithTheStandardSetAndTheCatalogue)
{
    EXPECT_EQ(selection_, kStandard);
    EXPECT_EQ(dialog_.windowTitle(), "Select effects");
    ASSERT_EQ(List()->count(), 21);
    EXPECT_EQ(List()->item(0)->text(), "Alpha blend");
    EXPECT_EQ(List()->item(20)->text(), "Wipe out");
    EXPECT_EQ(dialog_.Catalogue().Count(), 22);
    for (int i = 0; i < dialog_.Catalogue().Count(); ++i)
        EXPECT_TRUE(dialog_.Catalogue().Items(i)->AbortOnEscape()) << i;
    EXPECT_EQ(Combo()->count(), 3);
    EXPECT_EQ(Combo()->itemText(0), "Standart set");
}

TEST_F(EffectSelectionDialogTest, SelectAllThenOkStoresEveryEffect)
{
    Open();
    PickPreset(1);
    EXPECT_EQ(Combo()->currentText(), "Select all");
    EXPECT_EQ(CheckedRows().size(), 21);
    Click(kEffectsOkButton);
    EXPECT_FALSE(dialog_.isVisible());
    QStringList all;
    for (int i = 0; i <= 20; ++i)
        all << QString::number(i);
    EXPECT_EQ(selection_, all);
}

TEST_F(EffectSelectionDialogTest, AnotherSetClearsTheMarksAndOkStoresNothing)
{
    Open();
    PickPreset(2);
    EXPECT_TRUE(CheckedRows().isEmpty());
    Click(kEffectsOkButton);
    EXPECT_TRUE(selection_.isEmpty());
}

TEST_F(EffectSelectionDialogTest, TogglingSwitchesTheComboAndKeepsTheOtherMarks)
{
    Open();
    Toggle(0);
    EXPECT_EQ(Combo()->currentText(), "Another set");
    QStringList expected = kStandard;
    expected.prepend("0");
    EXPECT_EQ(CheckedRows(), expected);
    Toggle(20);
    expected.removeLast();
    EXPECT_EQ(CheckedRows(), expected);
    Click(kEffectsOkButton);
    EXPECT_EQ(selection_, expected);
}

TEST_F(EffectSelectionDialogTest, ReopeningShowsTheCustomMarksUnderTheStandardName)
{
    Open();
    PickPreset(2);
    Toggle(7);
    Click(kEffectsOkButton);
    Open();
    EXPECT_EQ(Combo()->currentText(), "Standart set");
    EXPECT_EQ(CheckedRows(), QStringList{"7"});
}

TEST_F(EffectSelectionDialogTest, CancelKeepsTheSelectionAndTheNextOpeningShowsIt)
{
    Open();
    PickPreset(1);
    Toggle(3);
    Click(kEffectsCancelButton);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(selection_, kStandard);
    Open();
    EXPECT_EQ(CheckedRows(), kStandard);
}

TEST_F(EffectSelectionDialogTest, EscapeClosesWithoutStoring)
{
    Open();
    PickPreset(2);
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(selection_, kStandard);
}

TEST_F(EffectSelectionDialogTest, ASelectionReadFromAProjectChecksItsRows)
{
    selection_ = QStringList{"20", "3"};
    Open();
    EXPECT_EQ(CheckedRows(), (QStringList{"3", "20"}));
    Click(kEffectsOkButton);
    EXPECT_EQ(selection_, (QStringList{"3", "20"})) << "OK writes ascending order";
}

TEST_F(EffectSelectionDialogTest, ClearUnchecksEverythingAndLeavesTheCombo)
{
    Open();
    PickPreset(1);
    Click(kClearEffectsButton);
    EXPECT_TRUE(CheckedRows().isEmpty());
    EXPECT_EQ(Combo()->currentText(), "Select all");
    EXPECT_EQ(selection_, kStandard);
}

TEST_F(EffectSelectionDialogTest, ApplyingTheStandardSetStoresIt)
{
    selection_ = QStringList{"0"};
    Open();
    PickPreset(2);
    dialog_.ApplyStandardSet();
    EXPECT_EQ(selection_, kStandard);
    EXPECT_EQ(CheckedRows(), kStandard);
    EXPECT_EQ(Combo()->currentText(), "Standart set");
}

TEST_F(EffectSelectionDialogTest, PreviewWithoutAHighlightedRowAsksForOne)
{
    Open();
    List()->clearSelection();
    Click("PreviewButton");
    EXPECT_EQ(questions_.messages, QStringList{"Please, select transition."});
    EXPECT_FALSE(AnyEffectPrepared());
}

TEST_F(EffectSelectionDialogTest, PreviewPlaysTheHighlightedEffectForthAndBack)
{
    Open();
    Click(kClearEffectsButton);
    List()->setCurrentRow(12);  // "Wipe left", not checked
    ASSERT_EQ(List()->item(12)->checkState(), Qt::Unchecked);
    TTransitionEffect *wipeLeft = dialog_.Catalogue().Items(12);
    wipeLeft->SetMilliseconds(60);
    QWidget *image = dialog_.findChild<QWidget *>("Image1");
    QWidget *panel = dialog_.findChild<QWidget *>(kEffectPreviewPanel);
    QList<bool> sampleShown;
    wipeLeft->onAfterTransition = [&](QObject *) { sampleShown << image->isVisible(); };
    int others = 0;
    for (int i = 0; i < dialog_.Catalogue().Count(); ++i)
        if (i != 12)
            dialog_.Catalogue().Items(i)->onAfterTransition = [&](QObject *) { ++others; };

    QTest::mouseClick(panel, Qt::LeftButton);

    EXPECT_EQ(sampleShown, (QList<bool>{true, false}));
    EXPECT_EQ(others, 0);
    EXPECT_FALSE(image->isVisible());
    EXPECT_FALSE(AnyEffectPrepared());
    EXPECT_TRUE(questions_.messages.isEmpty());
    EXPECT_EQ(List()->item(12)->checkState(), Qt::Unchecked);
    wipeLeft->onAfterTransition = nullptr;
}

}  // namespace
