// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/make_web_show_dialog.h"

#include "dialogs/dialog_questions.h"
#include "dialogs/web_show_questions.h"
#include "show/version.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace lumetta {

namespace {

// The largest picture sizes offered; the first is the default.
const QSize kSizes[] = {{2560, 1440}, {1920, 1080}, {3840, 2160}, {1280, 720}};

}  // namespace

class MakeWebShowDialog::WindowQuestions : public WebShowQuestions
{
public:
    explicit WindowQuestions(QWidget *window) : window_(window) {}

    std::optional<QString> AskTarget(const QString &current, const QString &filter) override
    {
        return AskSaveFileName(window_, QStringLiteral("Make Web Show"), current, filter);
    }
    bool AskReplace(const QString &path) override { return AskReplaceFile(window_, path); }
    void ShowError(const QString &message) override { ShowErrorBox(window_, message); }
    bool AskWriteLarge(qint64 bytes) override
    {
        return QMessageBox::question(window_, QLatin1String(kProgramName),
                                     QStringLiteral("The page takes %1 MB, which browsers open slowly. A smaller "
                                                    "largest size or a lower quality makes it smaller.\n\nWrite it "
                                                    "anyway?")
                                         .arg(bytes / 1000000))
               == QMessageBox::Yes;
    }

private:
    QWidget *window_;
};

MakeWebShowDialog::MakeWebShowDialog(const ShowProject &project, QWidget *parent, WebShowQuestions *questions)
    : QDialog(parent),
      project_(project),
      ownQuestions_(std::make_unique<WindowQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get())
{
    setObjectName(QStringLiteral("MakeWebShowDialog"));
    setWindowTitle(QStringLiteral("Make Web Show"));

    sizeBox_ = new QComboBox(this);
    for (const QSize &size : kSizes)
        sizeBox_->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
    qualityBox_ = new QSpinBox(this);
    qualityBox_->setRange(1, 100);
    qualityBox_->setValue(WebShowOptions{}.quality);
    targetEdit_ = new QLineEdit(this);
    targetEdit_->setMinimumWidth(320);
    browseButton_ = new QPushButton(QStringLiteral("&Browse..."), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Largest picture &size:"), sizeBox_);
    form->addRow(QStringLiteral("Picture &quality:"), qualityBox_);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(targetEdit_, 1);
    fileRow->addWidget(browseButton_);
    auto *fileLabel = new QLabel(QStringLiteral("&File:"), this);
    fileLabel->setBuddy(targetEdit_);
    form->addRow(fileLabel, fileRow);

    stateLabel_ = new QLabel(QStringLiteral("Ready"), this);
    stateLabel_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setValue(0);
    makeButton_ = new QPushButton(QStringLiteral("&Make"), this);
    makeButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Close"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(makeButton_);
    buttons->addWidget(cancelButton_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(stateLabel_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    connect(browseButton_, &QPushButton::clicked, this, &MakeWebShowDialog::Browse);
    connect(makeButton_, &QPushButton::clicked, this, &MakeWebShowDialog::Make);
    connect(cancelButton_, &QPushButton::clicked, this, &MakeWebShowDialog::CancelOrClose);
}

MakeWebShowDialog::~MakeWebShowDialog()
{
    cancelled_ = true;
    if (worker_)
        worker_->wait();
}

WebShowOptions MakeWebShowDialog::Options() const
{
    WebShowOptions options;
    options.maxSize = kSizes[std::max(0, sizeBox_->currentIndex())];
    options.quality = qualityBox_->value();
    return options;
}

void MakeWebShowDialog::Browse()
{
    QString current = targetEdit_->text();
    if (current.isEmpty() && !project_.OpenedPath().isEmpty()) {
        const QFileInfo opened(project_.OpenedPath());
        current = opened.dir().filePath(opened.completeBaseName() + QStringLiteral(".html"));
    }
    if (const std::optional<QString> path = questions_->AskTarget(current, QStringLiteral("Web pages (*.html *.htm)")))
        targetEdit_->setText(*path);
}

void MakeWebShowDialog::Make()
{
    if (Running())
        return;
    if (targetEdit_->text().trimmed().isEmpty())
        Browse();
    const QString text = targetEdit_->text().trimmed();
    if (text.isEmpty())
        return;
    target_ = QDir::home().absoluteFilePath(text);
    if (const std::optional<QString> problem = WebShowBuilder::TargetProblem(project_, target_)) {
        questions_->ShowError(*problem);
        return;
    }
    const QFileInfo existing(target_);
    replace_ = existing.exists() || existing.isSymLink();
    if (replace_ && !questions_->AskReplace(target_))
        return;

    builder_ = std::make_unique<WebShowBuilder>(project_, Options());
    cancelled_ = false;
    stateLabel_->setText(QStringLiteral("Making %1...").arg(QFileInfo(target_).fileName()));
    progress_->setRange(0, 0);
    SetRunning(true);
    WebShowBuilder *builder = builder_.get();
    worker_ = QThread::create([this, builder] {
        const WebShowBuilder::Outcome outcome = builder->Build([this](int done, int total) {
            QMetaObject::invokeMethod(this, [this, done, total] { ShowProgress(done, total); }, Qt::QueuedConnection);
            return !cancelled_.load();
        });
        QMetaObject::invokeMethod(this, [this, outcome] { BuildEnded(outcome); }, Qt::QueuedConnection);
    });
    worker_->start();
}

void MakeWebShowDialog::ShowProgress(int done, int total)
{
    if (!Running())
        return;
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void MakeWebShowDialog::BuildEnded(WebShowBuilder::Outcome outcome)
{
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    SetRunning(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    const std::unique_ptr<WebShowBuilder> builder = std::move(builder_);
    const QString notes = builder->Notes().join(QLatin1Char('\n'));
    bool written = false;
    if (outcome == WebShowBuilder::Outcome::Cancelled) {
        stateLabel_->setText(QStringLiteral("Cancelled; nothing was written"));
    } else if (outcome == WebShowBuilder::Outcome::Failed) {
        stateLabel_->setText(QStringLiteral("Not made"));
        questions_->ShowError(builder->Error() + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes));
    } else if (builder->Page().size() >= WebShowBuilder::kLargePageBytes
               && !questions_->AskWriteLarge(builder->Page().size())) {
        stateLabel_->setText(QStringLiteral("Not written"));
    } else if (const std::optional<QString> problem = WebShowBuilder::Write(
                   builder->Page(), target_,
                   replace_ ? ReplacementFile::Existing::Replace : ReplacementFile::Existing::Refuse)) {
        stateLabel_->setText(QStringLiteral("Not written"));
        questions_->ShowError(*problem);
    } else {
        written = true;
        progress_->setValue(1);
        stateLabel_->setText(QStringLiteral("Written: %1 (%2 KB)").arg(target_).arg(builder->Page().size() / 1000)
                             + (notes.isEmpty() ? QString() : QStringLiteral("\n") + notes));
    }
    emit Ended(written);
}

void MakeWebShowDialog::SetRunning(bool running)
{
    for (QWidget *input : std::initializer_list<QWidget *>{sizeBox_, qualityBox_, targetEdit_, browseButton_,
                                                           makeButton_})
        input->setEnabled(!running);
    cancelButton_->setText(running ? QStringLiteral("Cancel") : QStringLiteral("Close"));
}

void MakeWebShowDialog::CancelOrClose()
{
    if (Running())
        cancelled_ = true;
    else
        accept();
}

void MakeWebShowDialog::reject()
{
    // Escape cancels a page being made before it closes anything.
    if (Running())
        cancelled_ = true;
    else
        QDialog::reject();
}

}  // namespace lumetta
