// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/build_show_dialog.h"
#include "dialogs/dialog_questions.h"

#include "show/project_file.h"
#include "show/show_project.h"
#include "show/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetta {

namespace {

// On Linux a program needs no extension: the built show is made executable.
const QString kApplicationFilter = QStringLiteral("Application (*)");
const QString kScreensaverFilter = QStringLiteral("Screensaver (*.scr)");
const QLatin1String kScreensaverExtension(".scr");

bool HasExtension(const QString &path, const char *extension)
{
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

const QString kModesExplained =
    QStringLiteral("An application is a program of its own: it plays the show full screen when started; "
                   "Escape ends it. It runs on a Linux computer that has Lumetta's libraries (Qt 6, "
                   "GStreamer, libheif and the others Lumetta is installed with), best one with Lumetta "
                   "installed. To share a show with anyone, on any system, use Project > Export Video. "
                   "A screensaver is the same show named .scr: it also understands a screen-saver host's "
                   "/s (show), /c and /p (end at once). Linux desktops take no screen savers from single files, "
                   "so start it yourself, or from your desktop's idle or start-up settings.");

}  // namespace

class BuildShowDialog::WindowQuestions : public BuildShowQuestions
{
public:
    explicit WindowQuestions(QWidget *window) : window_(window) {}

    std::optional<std::pair<QString, bool>> AskTarget(const QString &current, bool screensaver) override
    {
        QString filter = screensaver ? kScreensaverFilter : kApplicationFilter;
        // Make asks before replacing a file, so the file dialog does not ask as well.
        const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Make slide-show"), current,
                                                          kApplicationFilter + QLatin1String(";;") + kScreensaverFilter,
                                                          &filter, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        return std::pair{path, filter == kScreensaverFilter};
    }
    bool AskReplace(const QString &path) override { return AskReplaceFile(window_, path); }
    void ShowError(const QString &message) override
    {
        QMessageBox::critical(window_, QLatin1String(kProgramName), message);
    }

private:
    QWidget *window_;
};

BuildShowDialog::BuildShowDialog(ShowProject &project, QWidget *parent, BuildShowQuestions *questions, QString stubPath)
    : QDialog(parent),
      project_(project),
      ownQuestions_(std::make_unique<WindowQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get()),
      builder_(std::move(stubPath))
{
    setObjectName(QStringLiteral("MakeExeDialog"));
    setWindowTitle(QStringLiteral("Make slide-show (.EXE)"));

    auto *options = new QGroupBox(QStringLiteral("Options"), this);
    auto *nameLabel = new QLabel(QStringLiteral("&Name and path"), options);
    nameEdit_ = new QLineEdit(options);
    nameEdit_->setObjectName(QStringLiteral("NameEdit"));
    nameEdit_->setMinimumWidth(320);
    nameLabel->setBuddy(nameEdit_);
    browseButton_ = new QPushButton(QStringLiteral("&Browse..."), options);
    browseButton_->setObjectName(QStringLiteral("BrowseButton"));
    auto *modesLabel = new QLabel(QStringLiteral("Modes"), options);
    applicationMode_ = new QRadioButton(QStringLiteral("Make &application"), options);
    applicationMode_->setObjectName(QStringLiteral("ApplicationMode"));
    applicationMode_->setChecked(true);
    screensaverMode_ = new QRadioButton(QStringLiteral("Make &screensaver (*.scr)"), options);
    screensaverMode_->setObjectName(QStringLiteral("ScreensaverMode"));
    modesExplained_ = new QLabel(kModesExplained, options);
    modesExplained_->setObjectName(QStringLiteral("ModesExplained"));
    modesExplained_->setWordWrap(true);
    auto *optionsLayout = new QGridLayout(options);
    optionsLayout->addWidget(nameLabel, 0, 0, 1, 2);
    optionsLayout->addWidget(nameEdit_, 1, 0);
    optionsLayout->addWidget(browseButton_, 1, 1);
    optionsLayout->addWidget(modesLabel, 2, 0, 1, 2);
    optionsLayout->addWidget(applicationMode_, 3, 0, 1, 2);
    optionsLayout->addWidget(screensaverMode_, 4, 0, 1, 2);
    optionsLayout->addWidget(modesExplained_, 5, 0, 1, 2);

    auto *information = new QGroupBox(QStringLiteral("Information"), this);
    stateLabel_ = new QLabel(QStringLiteral("Ready"), information);
    stateLabel_->setObjectName(QStringLiteral("StateLabel"));
    progress_ = new QProgressBar(information);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    auto *informationLayout = new QVBoxLayout(information);
    informationLayout->addWidget(stateLabel_);
    informationLayout->addWidget(progress_);

    makeButton_ = new QPushButton(QStringLiteral("&Make"), this);
    makeButton_->setObjectName(QStringLiteral("MakeButton"));
    makeButton_->setDefault(true);
    testButton_ = new QPushButton(QStringLiteral("&Test"), this);
    testButton_->setObjectName(QStringLiteral("TestButton"));
    closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(makeButton_);
    buttons->addWidget(testButton_);
    buttons->addWidget(closeButton_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(information);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browseButton_, &QPushButton::clicked, this, &BuildShowDialog::Browse);
    connect(makeButton_, &QPushButton::clicked, this, &BuildShowDialog::Make);
    connect(testButton_, &QPushButton::clicked, this, &BuildShowDialog::Test);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(applicationMode_, &QRadioButton::toggled, this, &BuildShowDialog::ModeChanged);

    builder_.SetProgress([this](int value, int maximum) {
        progress_->setRange(0, maximum);
        progress_->setValue(value);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

BuildShowDialog::~BuildShowDialog() = default;

void BuildShowDialog::showEvent(QShowEvent *event)
{
    // A new name starts beside the project file, named after it.
    if (nameEdit_->text().isEmpty() && !project_.SaveTarget().isEmpty()) {
        const QFileInfo projectFile(project_.SaveTarget());
        nameEdit_->setText(projectFile.absolutePath() + u'/' + projectFile.completeBaseName()
                           + (screensaverMode_->isChecked() ? kScreensaverExtension : QLatin1String()));
    }
    stateLabel_->setText(QStringLiteral("Ready"));
    progress_->setValue(0);
    QDialog::showEvent(event);
}

void BuildShowDialog::ModeChanged()
{
    const QString name = nameEdit_->text();
    if (screensaverMode_->isChecked()) {
        if (HasExtension(name, ".exe"))
            nameEdit_->setText(name.left(name.size() - 4) + kScreensaverExtension);
        else if (!name.trimmed().isEmpty() && QFileInfo(name).suffix().isEmpty())
            nameEdit_->setText(name + kScreensaverExtension);
    } else if (HasExtension(name, ".scr")) {
        nameEdit_->setText(name.left(name.size() - 4));
    }
}

QString BuildShowDialog::TargetPath() const
{
    const QString name = nameEdit_->text().trimmed();
    if (name.isEmpty())
        return {};
    QString path = QDir::home().absoluteFilePath(name);
    if (screensaverMode_->isChecked() && QFileInfo(path).suffix().isEmpty())
        path += kScreensaverExtension;
    return QDir::cleanPath(path);
}

void BuildShowDialog::Browse()
{
    const std::optional<std::pair<QString, bool>> answer =
        questions_->AskTarget(TargetPath(), screensaverMode_->isChecked());
    if (!answer)
        return;
    const auto &[path, screensaver] = *answer;
    (screensaver ? screensaverMode_ : applicationMode_)->setChecked(true);
    nameEdit_->setText(path);
    nameEdit_->setText(TargetPath());  // with the chosen mode's extension when the name has none
}

void BuildShowDialog::SetBusy(bool busy)
{
    for (QWidget *control : std::initializer_list<QWidget *>{nameEdit_, browseButton_, applicationMode_,
                                                             screensaverMode_, makeButton_, testButton_, closeButton_})
        control->setEnabled(!busy);
    stateLabel_->setText(busy ? QStringLiteral("Making the slide show...") : QStringLiteral("Ready"));
}

void BuildShowDialog::Make()
{
    const QString target = TargetPath();
    if (target.isEmpty()) {
        questions_->ShowError(QStringLiteral("Enter the name and path of the slide show to make."));
        nameEdit_->setFocus();
        return;
    }
    nameEdit_->setText(target);
    // Asked before the question about replacing: the show's own files are never replaced.
    if (const std::optional<QString> conflict = builder_.TargetConflict(project_, target)) {
        questions_->ShowError(*conflict);
        nameEdit_->setFocus();
        return;
    }
    auto existing = StandaloneBuilder::ExistingTarget::Refuse;
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        if (!questions_->AskReplace(target))
            return;
        existing = StandaloneBuilder::ExistingTarget::Replace;
    }
    progress_->setValue(0);
    SetBusy(true);
    try {
        builder_.MakeExe(project_, target, existing);
    } catch (const ProjectError &error) {
        SetBusy(false);
        questions_->ShowError(error.Message());
        return;
    }
    SetBusy(false);
}

void BuildShowDialog::Test()
{
    const QString target = TargetPath();
    if (target.isEmpty() || !QFileInfo(target).isFile()) {
        questions_->ShowError(QStringLiteral("There is no slide show to test yet: press Make first."));
        return;
    }
    if (!QProcess::startDetached(target, {}, QFileInfo(target).absolutePath()))
        questions_->ShowError(QStringLiteral("Cannot run %1").arg(target));
}

}  // namespace lumetta
