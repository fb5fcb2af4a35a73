#pragma once

#include "dialogs/effect_marks.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TTransitionList;

namespace lumetta {

class DialogQuestions;
class PreviewPanel;
class SampleImage;

// "Select effects": which catalogue effects the player may choose from. The EffectSelection it
// edits belongs to the show; the check marks are working state of one opening.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    // Makes EFFECTSELECTION the standard set (FormCreate). QUESTIONS answers the message of an
    // empty preview; nullptr uses a message box.
    explicit TForm2(QStringList &effectSelection, DialogQuestions *questions = nullptr,
                    QWidget *parent = nullptr);
    ~TForm2() override;

    // The dialog's own catalogue, every effect aborted by Escape.
    TTransitionList &Trans() { return *trans_; }
    const EffectMarks &Marks() const { return marks_; }

    // Shows the EffectSelection as check marks; runs whenever the dialog is shown.
    void FormActivate();
    // The options dialog's "Set Defaults": the standard set becomes the EffectSelection.
    void ApplyStandardSet();

    void ComboBox1Change(int index);
    void CheckListBox1ClickCheck(QListWidgetItem *item);
    void SpeedButton1Click();  // Clear
    void Button2Click();       // OK
    void Button1Click();       // Cancel
    // Plays the highlighted effect on the panel, forth and back.
    void Button3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void BuildLayout();
    void ShowMarks();

    QStringList &listBox1_;  // the EffectSelection
    std::unique_ptr<DialogQuestions> ownQuestions_;
    DialogQuestions *questions_;
    std::unique_ptr<TTransitionList> trans_;
    EffectMarks marks_;
    bool showingMarks_ = false;

    QComboBox *comboBox1_ = nullptr;
    QListWidget *checkListBox1_ = nullptr;
    PreviewPanel *panel1_ = nullptr;
    SampleImage *image1_ = nullptr;
};

}  // namespace lumetta
