// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/export_settings.h"
#include "export/video_exporter.h"

#include <QDialog>
#include <QString>

#include <memory>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace lumetta {

class ExportJob;
class ExportVideoQuestions;
class ShowProject;

// Project > Export Video: the video's format, size (landscape, portrait, square or custom), frame
// rate, quality (lossless too), a manual show's slide length and file, then the
// export with a progress bar, the time left and Cancel. The export runs off the GUI thread, so
// the windows stay responsive. The choices are remembered for the next export.
class ExportVideoDialog : public QDialog
{
    Q_OBJECT

public:
    // QUESTIONS answers the dialog's questions; nullptr uses real message boxes and file dialogs.
    explicit ExportVideoDialog(const ShowProject &project, QWidget *parent = nullptr,
                               ExportVideoQuestions *questions = nullptr);
    ~ExportVideoDialog() override;

    // The buttons.
    void Browse();
    void Export();
    // Cancels a running export, else closes the dialog.
    void CancelOrClose();

    // What the fields ask for.
    ExportSettings Settings() const;
    VideoContainer Container() const;
    // The target the field names, made absolute (from the home folder) with the format's extension.
    QString TargetPath() const;
    bool Exporting() const;

    QComboBox *FormatBox() const { return formatBox_; }
    QComboBox *SizeBox() const { return sizeBox_; }
    QComboBox *RateBox() const { return rateBox_; }
    QComboBox *QualityBox() const { return qualityBox_; }
    QSpinBox *WidthBox() const { return widthBox_; }
    QSpinBox *HeightBox() const { return heightBox_; }
    QDoubleSpinBox *SlideLengthBox() const { return slideBox_; }
    QLineEdit *TargetEdit() const { return targetEdit_; }
    QPushButton *BrowseButton() const { return browseButton_; }
    QPushButton *ExportButton() const { return exportButton_; }
    QPushButton *CancelButton() const { return cancelButton_; }
    QProgressBar *Progress() const { return progress_; }
    QLabel *StateLabel() const { return stateLabel_; }
    QLabel *WarningsLabel() const { return warningsLabel_; }

signals:
    // An export has ended (written, cancelled or failed).
    void ExportEnded(lumetta::VideoExporter::Outcome outcome);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    class WindowQuestions;

    void FormatChanged();
    void SizeChanged();
    void QualityChanged();
    void ShowProgress(qint64 done, qint64 expected, int secondsLeft);
    void AddWarning(const QString &message);
    void Finished(VideoExporter::Outcome outcome, const QString &message);
    void SetBusy(bool busy);
    void LoadChoices();
    void SaveChoices() const;

    const ShowProject &project_;
    std::unique_ptr<WindowQuestions> ownQuestions_;
    ExportVideoQuestions *questions_;
    std::unique_ptr<ExportJob> job_;
    bool closeWhenEnded_ = false;

    QComboBox *formatBox_;
    QComboBox *sizeBox_;
    QComboBox *rateBox_;
    QComboBox *qualityBox_;
    QSpinBox *widthBox_;
    QSpinBox *heightBox_;
    QDoubleSpinBox *slideBox_;
    // The slide length chosen for manual shows; the box shows an automatic show's own interval.
    double manualSeconds_ = 5;
    QLineEdit *targetEdit_;
    QPushButton *browseButton_;
    QLabel *stateLabel_;
    QLabel *warningsLabel_;
    QProgressBar *progress_;
    QPushButton *exportButton_;
    QPushButton *cancelButton_;
};

}  // namespace lumetta
