#pragma once

#include "app/standalone_builder.h"

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
class MakeExeQuestions
{
public:
    virtual ~MakeExeQuestions() = default;
    // The save dialog, starting at CURRENT with the screensaver filter chosen when SCREENSAVER
    // is set; returns the path and the filter chosen, or nullopt when cancelled.
    virtual std::optional<std::pair<QString, bool>> AskTarget(const QString &current, bool screensaver) = 0;
    // "PATH already exists. Do you want to replace it?"
    virtual bool AskReplace(const QString &path) = 0;
    virtual void ShowError(const QString &message) = 0;
};

// "Make slide-show (.EXE)": asks for the target of a standalone show, builds it with a
// progress bar and runs it for a test. The mode sets the target's extension; an existing
// target is replaced only after the user agreed.
class TMakeExeDialog : public QDialog
{
    Q_OBJECT
public:
    // QUESTIONS answers the dialog's questions; nullptr uses real message boxes and file dialogs.
    explicit TMakeExeDialog(ShowProject &project, QWidget *parent = nullptr, MakeExeQuestions *questions = nullptr,
                            QString stubPath = StandaloneBuilder::DefaultStubPath());
    ~TMakeExeDialog() override;

    // The buttons.
    void Browse();
    void Make();
    void Test();

    // The target the field names: made absolute (from the home folder) with the mode's
    // extension added when it has none; empty when the field is empty.
    QString TargetPath() const;

    QLineEdit *NameEdit;
    QPushButton *BrowseButton;
    QRadioButton *ApplicationMode;
    QRadioButton *ScreensaverMode;
    QLabel *StateLabel;
    QProgressBar *ProgressBar1;
    QPushButton *MakeButton;
    QPushButton *TestButton;
    QPushButton *CloseButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    class WindowQuestions;

    void ModeChanged();
    void SetBusy(bool busy);

    ShowProject &project_;
    std::unique_ptr<WindowQuestions> ownQuestions_;
    MakeExeQuestions *questions_;
    StandaloneBuilder builder_;
};

}  // namespace lumetta
