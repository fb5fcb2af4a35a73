// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/standalone_builder.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lumetta {

class ShowProject;

// The questions the builder dialog asks; the dialog shows real ones, tests answer directly.
class BuildShowQuestions
{
public:
    virtual ~BuildShowQuestions() = default;
    // The save dialog, starting at CURRENT with the screensaver filter chosen when SCREENSAVER
    // is set; returns the path and the filter chosen, or nullopt when cancelled.
    virtual std::optional<std::pair<QString, bool>> AskTarget(const QString &current, bool screensaver) = 0;
    // "PATH already exists. Do you want to replace it?"
    virtual bool AskReplace(const QString &path) = 0;
    virtual void ShowError(const QString &message) = 0;
};

// "Make slide-show (.EXE)": asks for the target of a standalone show, builds it with a
// progress bar and runs it for a test. An application has no extension (it is made
// executable), a screensaver ".scr"; an existing target is replaced only after the user agreed.
class BuildShowDialog : public QDialog
{
    Q_OBJECT
public:
    // QUESTIONS answers the dialog's questions; nullptr uses real message boxes and file dialogs.
    explicit BuildShowDialog(ShowProject &project, QWidget *parent = nullptr, BuildShowQuestions *questions = nullptr,
                             QString stubPath = StandaloneBuilder::DefaultStubPath());
    ~BuildShowDialog() override;

    // The buttons.
    void Browse();
    void Make();
    void Test();

    // The target the field names: made absolute (from the home folder), with ".scr" added in
    // screensaver mode when it has no extension; empty when the field is empty.
    QString TargetPath() const;

    QLineEdit *NameEdit() const { return nameEdit_; }
    QPushButton *BrowseButton() const { return browseButton_; }
    QRadioButton *ApplicationMode() const { return applicationMode_; }
    QRadioButton *ScreensaverMode() const { return screensaverMode_; }
    QLabel *ModesExplained() const { return modesExplained_; }
    QLabel *StateLabel() const { return stateLabel_; }
    QProgressBar *Progress() const { return progress_; }
    QPushButton *MakeButton() const { return makeButton_; }
    QPushButton *TestButton() const { return testButton_; }
    QPushButton *CloseButton() const { return closeButton_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *nameEdit_;
    QPushButton *browseButton_;
    QRadioButton *applicationMode_;
    QRadioButton *screensaverMode_;
    QLabel *modesExplained_;
    QLabel *stateLabel_;
    QProgressBar *progress_;
    QPushButton *makeButton_;
    QPushButton *testButton_;
    QPushButton *closeButton_;
    class WindowQuestions;

    void ModeChanged();
    void SetBusy(bool busy);

    ShowProject &project_;
    std::unique_ptr<WindowQuestions> ownQuestions_;
    BuildShowQuestions *questions_;
    StandaloneBuilder builder_;
};

}  // namespace lumetta
