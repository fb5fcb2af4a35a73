// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/web_show_builder.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace lumetta {

class WebShowQuestions;

// Project > "Make Web Show...": the show as one web page, with the pictures' largest size and
// quality, a progress bar and Cancel. The page is made on a worker thread, so the window stays
// live; an existing file is replaced only after the user agreed.
class MakeWebShowDialog : public QDialog
{
    Q_OBJECT

public:
    // QUESTIONS answers the dialog's questions; nullptr uses real message boxes and file dialogs.
    explicit MakeWebShowDialog(const ShowProject &project, QWidget *parent = nullptr,
                               WebShowQuestions *questions = nullptr);
    // Cancels a page being made and waits for its thread.
    ~MakeWebShowDialog() override;

    void Browse();
    // Asks about an existing target, then makes the page off the GUI thread.
    void Make();
    // Cancel while the page is made, else Close.
    void CancelOrClose();
    bool Running() const { return worker_ != nullptr; }
    // The options the boxes set.
    WebShowOptions Options() const;

    QComboBox *SizeBox() const { return sizeBox_; }
    QSpinBox *QualityBox() const { return qualityBox_; }
    QLineEdit *TargetEdit() const { return targetEdit_; }
    QLabel *StateLabel() const { return stateLabel_; }
    QProgressBar *Progress() const { return progress_; }
    QPushButton *MakeButton() const { return makeButton_; }
    QPushButton *CancelButton() const { return cancelButton_; }

signals:
    // A make has ended; WRITTEN when the page was written.
    void Ended(bool written);

protected:
    void reject() override;

private:
    class WindowQuestions;

    void ShowProgress(int done, int total);
    void BuildEnded(WebShowBuilder::Outcome outcome);
    void SetRunning(bool running);

    const ShowProject &project_;
    std::unique_ptr<WebShowQuestions> ownQuestions_;
    WebShowQuestions *questions_;
    QComboBox *sizeBox_;
    QSpinBox *qualityBox_;
    QLineEdit *targetEdit_;
    QPushButton *browseButton_;
    QLabel *stateLabel_;
    QProgressBar *progress_;
    QPushButton *makeButton_;
    QPushButton *cancelButton_;
    std::unique_ptr<WebShowBuilder> builder_;
    QThread *worker_ = nullptr;
    std::atomic<bool> cancelled_ = false;
    bool replace_ = false;
    QString target_;
};

}  // namespace lumetta
