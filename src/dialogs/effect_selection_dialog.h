// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/effect_marks.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lumetta {

class TTransitionList;

class DialogQuestions;
class PreviewPanel;
class SampleImage;

// "Select effects": which catalogue effects the player may choose from. The EffectSelection it
// edits belongs to the show; the check marks are working state of one opening.
class EffectSelectionDialog : public QDialog
{
    Q_OBJECT

public:
    // Makes EFFECTSELECTION the standard set. QUESTIONS answers the message of an
    // empty preview; nullptr uses a message box.
    explicit EffectSelectionDialog(QStringList &effectSelection, DialogQuestions *questions = nullptr,
                                   QWidget *parent = nullptr);
    ~EffectSelectionDialog() override;

    // The dialog's own catalogue, every effect aborted by Escape.
    TTransitionList &Catalogue() { return *catalogue_; }
    const EffectMarks &Marks() const { return marks_; }

    // Shows the EffectSelection as check marks; runs whenever the dialog is shown.
    void ShowSelection();
    // The options dialog's "Set Defaults": the standard set becomes the EffectSelection.
    void ApplyStandardSet();

    void ApplyPreset(int index);
    void MarkChanged(QListWidgetItem *item);
    void ClearMarks();
    // OK: the check marks become the EffectSelection.
    void accept() override;
    void Cancel();
    // Plays the highlighted effect on the panel, forth and back.
    void PlayPreview();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void StartWithStandardSet();
    void BuildLayout();
    void ShowMarks();

    QStringList &effectSelection_;  // the EffectSelection
    std::unique_ptr<DialogQuestions> ownQuestions_;
    DialogQuestions *questions_;
    std::unique_ptr<TTransitionList> catalogue_;
    EffectMarks marks_;
    bool showingMarks_ = false;

    QComboBox *presets_ = nullptr;
    QListWidget *effectList_ = nullptr;
    PreviewPanel *previewPanel_ = nullptr;
    SampleImage *sample_ = nullptr;
};

}  // namespace lumetta
