// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/export_video_dialog.h"
#include "dialogs/dialog_questions.h"

#include "dialogs/export_video_questions.h"
#include "export/export_job.h"
#include "show/show_project.h"
#include "show/version.h"

#include <QComboBox>
#include <QDoubleSpinBox>
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
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace lumetta {

namespace {

constexpr int kProgressSteps = 1000;
// Landscape screens, then phones held upright and square feeds; the last entry is a size of
// the user's own.
const struct
{
    QSize size;
    const char *use;
} kSizes[] = {
    {{1280, 720}, ""},
    {{1920, 1080}, ""},
    {{3840, 2160}, ""},
    {{1080, 1920}, " (portrait, for phones)"},
    {{1080, 1080}, " (square)"},
};
constexpr int kCustomSize = int(std::size(kSizes));
const int kRates[] = {25, 30, 60};
const VideoContainer kContainers[] = {VideoContainer::Mp4, VideoContainer::WebM, VideoContainer::Mkv};
const ExportQuality kQualities[] = {ExportQuality::Draft, ExportQuality::Good, ExportQuality::Best,
                                    ExportQuality::Lossless};
constexpr int kLosslessQuality = 3;
constexpr int kMkvFormat = 2;

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

    // Export asks before replacing a file, so the file dialog does not ask as well.
    std::optional<QString> AskTarget(const QString &current, const QString &filter) override
    {
        return AskSaveFileName(window_, QStringLiteral("Export Video"), current, filter);
    }
    bool AskReplace(const QString &path) override { return AskReplaceFile(window_, path); }
    void ShowError(const QString &message) override { ShowErrorBox(window_, message); }

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
    for (const auto &size : kSizes)
        sizeBox_->addItem(
            QStringLiteral("%1 x %2%3").arg(size.size.width()).arg(size.size.height()).arg(QLatin1String(size.use)));
    sizeBox_->addItem(QStringLiteral("Custom size"));
    widthBox_ = new QSpinBox(this);
    heightBox_ = new QSpinBox(this);
    for (QSpinBox *side : {widthBox_, heightBox_}) {
        side->setRange(16, kMaxVideoSide);
        side->setSuffix(QStringLiteral(" px"));
    }
    widthBox_->setAccessibleName(QStringLiteral("Width"));
    heightBox_->setAccessibleName(QStringLiteral("Height"));
    rateBox_ = new QComboBox(this);
    for (int rate : kRates)
        rateBox_->addItem(QStringLiteral("%1 frames per second").arg(rate));
    qualityBox_ = new QComboBox(this);
    qualityBox_->addItems({QStringLiteral("Draft (fast, larger file)"), QStringLiteral("Good"),
                           QStringLiteral("Best (slow)"), QStringLiteral("Lossless (MKV only, very large)")});
    slideBox_ = new QDoubleSpinBox(this);
    slideBox_->setRange(0.5, 3600);
    slideBox_->setDecimals(1);
    slideBox_->setSingleStep(0.5);
    slideBox_->setSuffix(QStringLiteral(" s"));
    targetEdit_ = new QLineEdit(this);
    targetEdit_->setMinimumWidth(320);
    browseButton_ = new QPushButton(QStringLiteral("&Browse..."), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), formatBox_);
    form->addRow(QStringLiteral("&Size:"), sizeBox_);
    auto *customRow = new QHBoxLayout;
    customRow->addWidget(widthBox_, 1);
    customRow->addWidget(new QLabel(QStringLiteral("x"), this));
    customRow->addWidget(heightBox_, 1);
    auto *customLabel = new QLabel(QStringLiteral("&Width x height:"), this);
    customLabel->setBuddy(widthBox_);
    form->addRow(customLabel, customRow);
    form->addRow(QStringLiteral("Frame &rate:"), rateBox_);
    form->addRow(QStringLiteral("&Quality:"), qualityBox_);
    form->addRow(QStringLiteral("Slide &length:"), slideBox_);
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
    connect(sizeBox_, &QComboBox::currentIndexChanged, this, &ExportVideoDialog::SizeChanged);
    connect(qualityBox_, &QComboBox::currentIndexChanged, this, &ExportVideoDialog::QualityChanged);
    connect(slideBox_, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        if (slideBox_->isEnabled())
            manualSeconds_ = seconds;
    });
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
    sizeBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("size"), 1).toInt(), kCustomSize));
    widthBox_->setValue(choices.value(QStringLiteral("width"), 1920).toInt());
    heightBox_->setValue(choices.value(QStringLiteral("height"), 1080).toInt());
    rateBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("rate"), 1).toInt(), 2));
    qualityBox_->setCurrentIndex(qBound(0, choices.value(QStringLiteral("quality"), 1).toInt(), kLosslessQuality));
    manualSeconds_ = qBound(0.5, choices.value(QStringLiteral("slide-seconds"), 5.0).toDouble(), 3600.0);
    SizeChanged();
}

void ExportVideoDialog::SaveChoices() const
{
    QSettings choices(ChoicesFile(), QSettings::IniFormat);
    choices.setValue(QStringLiteral("format"), formatBox_->currentIndex());
    choices.setValue(QStringLiteral("size"), sizeBox_->currentIndex());
    choices.setValue(QStringLiteral("rate"), rateBox_->currentIndex());
    choices.setValue(QStringLiteral("quality"), qualityBox_->currentIndex());
    choices.setValue(QStringLiteral("width"), widthBox_->value());
    choices.setValue(QStringLiteral("height"), heightBox_->value());
    choices.setValue(QStringLiteral("slide-seconds"), manualSeconds_);
}

void ExportVideoDialog::showEvent(QShowEvent *event)
{
    if (!Exporting()) {
        // The video is named after the project, beside it; an untitled one goes to the home folder.
        const QString project = project_.OpenedPath().isEmpty() ? project_.SavedName() : project_.OpenedPath();
        const QString base = project.isEmpty() ? QDir::homePath() + QLatin1String("/Slide show") : project;
        targetEdit_->setText(WithContainerSuffix(QFileInfo(base).absoluteFilePath(), Container()));
        stateLabel_->setText(QStringLiteral("Ready"));
        // A manual show has no interval of its own; an automatic one shows and keeps its own.
        const std::optional<int> seconds = project_.Settings().AdvanceSeconds();
        slideBox_->setEnabled(!seconds);
        slideBox_->setValue(seconds ? *seconds : manualSeconds_);
        slideBox_->setToolTip(seconds ? QStringLiteral("The show changes slides every %1 s by itself").arg(*seconds)
                                      : QStringLiteral("How long each slide of this manual show stays"));
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
    const int size = qBound(0, sizeBox_->currentIndex(), kCustomSize);
    settings.size = size == kCustomSize ? QSize(widthBox_->value(), heightBox_->value()) : kSizes[size].size;
    settings.fps = kRates[qBound(0, rateBox_->currentIndex(), 2)];
    settings.quality = kQualities[qBound(0, qualityBox_->currentIndex(), kLosslessQuality)];
    settings.slideSeconds = manualSeconds_;
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
    // Lossless video goes only into MKV files.
    if (formatBox_->currentIndex() != kMkvFormat && qualityBox_->currentIndex() == kLosslessQuality)
        qualityBox_->setCurrentIndex(kLosslessQuality - 1);
}

void ExportVideoDialog::SizeChanged()
{
    const bool custom = sizeBox_->currentIndex() == kCustomSize;
    widthBox_->setEnabled(custom);
    heightBox_->setEnabled(custom);
}

void ExportVideoDialog::QualityChanged()
{
    if (qualityBox_->currentIndex() == kLosslessQuality)
        formatBox_->setCurrentIndex(kMkvFormat);
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
    // Asked before the question to replace: the show's own files are never replaced.
    if (const std::optional<QString> problem = VideoExporter::TargetProblem(project_, target)) {
        questions_->ShowError(*problem);
        return;
    }
    ExportSettings settings = Settings();
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        if (!questions_->AskReplace(target))
            return;
        settings.existing = ReplacementFile::Existing::Replace;
    } else {
        settings.existing = ReplacementFile::Existing::Refuse;
    }
    SaveChoices();
    warningsLabel_->clear();
    warningsLabel_->hide();
    if (const std::optional<QString> note = RoundToEvenSize(settings.size))
        AddWarning(*note);
    job_ = std::make_unique<ExportJob>(project_, settings, target);
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
    const bool custom = sizeBox_->currentIndex() == kCustomSize;
    widthBox_->setEnabled(!busy && custom);
    heightBox_->setEnabled(!busy && custom);
    slideBox_->setEnabled(!busy && !project_.Settings().AdvanceSeconds());
    cancelButton_->setEnabled(true);
    cancelButton_->setText(busy ? QStringLiteral("Cancel") : QStringLiteral("Close"));
}

}  // namespace lumetta
