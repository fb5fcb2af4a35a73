// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/export_video_dialog.h"
#include "dialogs/dialog_questions.h"

#include "dialogs/export_video_questions.h"
#include "export/export_job.h"
#include "show/show_project.h"
#include "show/version.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace lumetta {

namespace {

constexpr int kProgressSteps = 1000;
const QSize kSizes[] = {{1280, 720}, {1920, 1080}, {3840, 2160}};
const int kRates[] = {25, 30, 60};
const VideoContainer kContainers[] = {VideoContainer::Mp4, VideoContainer::WebM, VideoContainer::Mkv};
const ExportQuality kQualities[] = {ExportQuality::Draft, ExportQuality::Good, ExportQuality::Best};

QString TimeText(int seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Our own file beside the list files: the choices of the last export.
QString ChoicesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1String("/export.ini");
}

}  // namespace

class ExportVideoDialog::WindowQuestions : public ExportVideoQuestions
{
public:
    explicit WindowQuestions(QWidget *window) : window_(window) {}

    std::optional<QString> AskTarget(const QString &current, const QString &filter) override
    {
        // Export asks before replacing a file, so the file dialog does not ask as well.
        const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Export Video"), current, filter,
                                                          nullptr, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }
    bool AskReplace(const QString &path) override { return AskReplaceFile(window_, path); }
    void ShowError(const QString &message) override
    {
        QMessageBox::critical(window_, QLatin1String(kProgramName), message);
    }

private:
    QWidget *window_;
};

ExportVideoDialog::ExportVideoDialog(const ShowProject &project, QWidget *parent, ExportVideoQuestions *questions)
    : QDialog(parent),
      project_(project),
      ownQuestions_(std::make_unique<WindowQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get())
{
    setObjectName(QStringLiteral("ExportVideoDialog"));
    setWindowTitle(QStringLiteral("Export Video"));

    formatBox_ = new QComboBox(this);
    for (VideoContainer container : kContainers)
        formatBox_->addItem(ContainerTitle(container));
    sizeBox_ = new QComboBox(this);
    for (QSize size : kSizes)
        sizeBox_->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
    rateBox_ = new QComboBox(this);
    for (int rate : kRates)
        rateBox_->addItem(QStringLiteral("%1 frames per second").arg(rate));
    qualityBox_ = new QComboBox(this);
    qualityBox_->addItems(
        {QStringLiteral("Draft (fast, larger file)"), QStringLiteral("Good"), QStringLiteral("Best (slow)")});
    targetEdit_ = new QLineEdit(this);
    targetEdit_->setMinimumWidth(320);
    browseButton_ = new QPushButton(QStringLiteral("&Browse..."), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), formatBox_);
    form->addRow(QStringLiteral("&Size:"), sizeBox_);
    form->addRow(QStringLiteral("Frame &rate:"), rateBox_);
    form->addRow(QStringLiteral("&Quality:"), qualityBox_);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(targetEdit_, 1);
    fileRow->addWidget(browseButton_);
    // A row holding a layout gets no buddy by itself.
    auto *fileLabel = new QLabel(QStringLiteral("&File:"), this);
    fileLabel->setBuddy(targetEdit_);
    form->addRow(fileLabel, fileRow);

    stateLabel_ = new QLabel(QStringLiteral("Ready"), this);
    stateLabel_->setObjectName(QStringLiteral("ExportState"));
    warningsLabel_ = new QLabel(this);
    warningsLabel_->setWordWrap(true);
    warningsLabel_->hide();
    progress_ = new QProgressBar(this);
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);

    exportButton_ = new QPushButton(QStringLiteral("&Export"), this);
    exportButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Close"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(cancelButton_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(stateLabel_);
    layout->addWidget(progress_);
    layout->addWidget(warningsLabel_);
    layout->addLayout(buttons);

    connect(formatBox_, &QComboBox::currentIndexChanged, this, &ExportVideoDialog::FormatChanged);
    connect(browseButton_, &QPushButton::clicked, this, &ExportVideoDialog::Browse);
    connect(exportButton_, &QPushButton::clicked, this, &ExportVideoDialog::Export);
    connect(cancelButton_, &QPushButton::clicked, this, &ExportVideoDialog::CancelOrClose);
    LoadChoices();
}

ExportVideoDialog::~ExportVideoDialog() = default;

void ExportVideoDialog::LoadChoices()
{
    const QSettings choices(ChoicesFile(), QSettings::IniFormat);
    formatBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("format"), 0).toInt(), 2));
    sizeBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("size"), 1).toInt(), 2));
    rateBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("rate"), 1).toInt(), 2));
    qualityBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("quality"), 1).toInt(), 2));
}

void ExportVideoDialog::SaveChoices() const
{
    QSettings choices(ChoicesFile(), QSettings::IniFormat);
    choices.setValue(QStringLiteral("format"), formatBox_->currentIndex());
    choices.setValue(QStringLiteral("size"), sizeBox_->currentIndex());
    choices.setValue(QStringLiteral("rate"), rateBox_->currentIndex());
    choices.setValue(QStringLiteral("quality"), qualityBox_->currentIndex());
}

void ExportVideoDialog::showEvent(QShowEvent *event)
{
    if (!Exporting()) {
        // The video is named after the project, beside it; an untitled one goes to the home folder.
        const QString project = project_.OpenedPath().isEmpty() ? project_.SavedName() : project_.OpenedPath();
        const QString base = project.isEmpty() ? QDir::homePath() + QLatin1String("/Slide show") : project;
        targetEdit_->setText(WithContainerSuffix(QFileInfo(base).absoluteFilePath(), Container()));
        stateLabel_->setText(QStringLiteral("Ready"));
        progress_->setValue(0);
        warningsLabel_->clear();
        warningsLabel_->hide();
    }
    QDialog::showEvent(event);
}

VideoContainer ExportVideoDialog::Container() const
{
    return kContainers[qBound(0, formatBox_->currentIndex(), 2)];
}

ExportSettings ExportVideoDialog::Settings() const
{
    ExportSettings settings;
    settings.size = kSizes[qBound(0, sizeBox_->currentIndex(), 2)];
    settings.fps = kRates[qBound(0, rateBox_->currentIndex(), 2)];
    settings.quality = kQualities[qBound(0, qualityBox_->currentIndex(), 2)];
    return settings;
}

QString ExportVideoDialog::TargetPath() const
{
    const QString text = targetEdit_->text().trimmed();
    if (text.isEmpty())
        return text;
    QString path = QDir(QDir::homePath()).absoluteFilePath(text);
    if (ContainerForPath(path) != Container())
        path = WithContainerSuffix(path, Container());
    return path;
}

bool ExportVideoDialog::Exporting() const
{
    return job_ && job_->Running();
}

void ExportVideoDialog::FormatChanged()
{
    targetEdit_->setText(WithContainerSuffix(targetEdit_->text().trimmed(), Container()));
}

void ExportVideoDialog::Browse()
{
    const QString suffix = ContainerSuffix(Container());
    const QString filter = QStringLiteral("%1 (*%2)").arg(ContainerTitle(Container()), suffix);
    if (const std::optional<QString> path = questions_->AskTarget(TargetPath(), filter))
        targetEdit_->setText(WithContainerSuffix(*path, Container()));
}

void ExportVideoDialog::Export()
{
    if (Exporting())
        return;
    const QString target = TargetPath();
    if (target.isEmpty()) {
        questions_->ShowError(QStringLiteral("Please name the video file"));
        return;
    }
    targetEdit_->setText(target);
    if (QFileInfo::exists(target) && !questions_->AskReplace(target))
        return;
    SaveChoices();
    warningsLabel_->clear();
    warningsLabel_->hide();
    job_ = std::make_unique<ExportJob>(project_, Settings(), target);
    connect(job_.get(), &ExportJob::Progress, this, &ExportVideoDialog::ShowProgress);
    connect(job_.get(), &ExportJob::Warning, this, &ExportVideoDialog::AddWarning);
    connect(job_.get(), &ExportJob::Finished, this, &ExportVideoDialog::Finished);
    stateLabel_->setText(QStringLiteral("Starting..."));
    progress_->setValue(0);
    SetBusy(true);
    job_->Start();
}

void ExportVideoDialog::CancelOrClose()
{
    if (Exporting()) {
        stateLabel_->setText(QStringLiteral("Cancelling..."));
        cancelButton_->setEnabled(false);
        job_->Cancel();
        return;
    }
    QDialog::reject();
}

void ExportVideoDialog::reject()
{
    // Escape or the window's close button: a running export is cancelled first.
    if (Exporting()) {
        closeWhenEnded_ = true;
        CancelOrClose();
        return;
    }
    QDialog::reject();
}

void ExportVideoDialog::ShowProgress(qint64 done, qint64 expected, int secondsLeft)
{
    progress_->setValue(int(qMin<qint64>(kProgressSteps, done * kProgressSteps / qMax<qint64>(expected, 1))));
    QString text = QStringLiteral("Exporting frame %1 of about %2").arg(done).arg(expected);
    if (secondsLeft >= 0)
        text += QStringLiteral(", %1 left").arg(TimeText(secondsLeft));
    stateLabel_->setText(text);
}

void ExportVideoDialog::AddWarning(const QString &message)
{
    const QString text = warningsLabel_->text();
    warningsLabel_->setText(text.isEmpty() ? message : text + QLatin1Char('\n') + message);
    warningsLabel_->show();
}

void ExportVideoDialog::Finished(VideoExporter::Outcome outcome, const QString &message)
{
    SetBusy(false);
    switch (outcome) {
    case VideoExporter::Outcome::Done:
        progress_->setValue(kProgressSteps);
        stateLabel_->setText(QStringLiteral("Video written to %1").arg(QDir::toNativeSeparators(TargetPath())));
        break;
    case VideoExporter::Outcome::Cancelled:
        progress_->setValue(0);
        stateLabel_->setText(QStringLiteral("Export cancelled; nothing was written"));
        break;
    case VideoExporter::Outcome::Failed:
        progress_->setValue(0);
        stateLabel_->setText(QStringLiteral("Export failed"));
        questions_->ShowError(message);
        break;
    }
    emit ExportEnded(outcome);
    if (closeWhenEnded_) {
        closeWhenEnded_ = false;
        QDialog::reject();
    }
}

void ExportVideoDialog::SetBusy(bool busy)
{
    for (QWidget *input :
         {static_cast<QWidget *>(formatBox_), static_cast<QWidget *>(sizeBox_), static_cast<QWidget *>(rateBox_),
          static_cast<QWidget *>(qualityBox_), static_cast<QWidget *>(targetEdit_),
          static_cast<QWidget *>(browseButton_), static_cast<QWidget *>(exportButton_)})
        input->setEnabled(!busy);
    cancelButton_->setEnabled(true);
    cancelButton_->setText(busy ? QStringLiteral("Cancel") : QStringLiteral("Close"));
}

}  // namespace lumetta
