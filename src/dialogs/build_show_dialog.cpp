#include "dialogs/build_show_dialog.h"

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

const QString kApplicationFilter = QStringLiteral("Application (*.exe)");
const QString kScreensaverFilter = QStringLiteral("Screensaver (*.scr)");

bool HasShowExtension(const QString &path)
{
    return path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".scr"), Qt::CaseInsensitive);
}

}  // namespace

class BuildShowDialog::WindowQuestions : public BuildShowQuestions
{
public:
    explicit WindowQuestions(QWidget *window) : window_(window) {}

    std::optional<std::pair<QString, bool>> AskTarget(const QString &current, bool screensaver) override
    {
        QString filter = screensaver ? kScreensaverFilter : kApplicationFilter;
        // Make asks before replacing a file, so the file dialog does not ask as well.
        const QString path = QFileDialog::getSaveFileName(
            window_, QStringLiteral("Make slide-show"), current, kApplicationFilter + QLatin1String(";;") + kScreensaverFilter,
            &filter, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        return std::pair{path, filter == kScreensaverFilter};
    }
    bool AskReplace(const QString &path) override
    {
        return QMessageBox::question(window_, QStringLiteral("Confirm"),
                                     QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    }
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
    applicationMode_ = new QRadioButton(QStringLiteral("Make &application (*.EXE)"), options);
    applicationMode_->setObjectName(QStringLiteral("ApplicationMode"));
    applicationMode_->setChecked(true);
    screensaverMode_ = new QRadioButton(QStringLiteral("Make &screensaver (*.SCR)"), options);
    screensaverMode_->setObjectName(QStringLiteral("ScreensaverMode"));
    auto *optionsLayout = new QGridLayout(options);
    optionsLayout->addWidget(nameLabel, 0, 0, 1, 2);
    optionsLayout->addWidget(nameEdit_, 1, 0);
    optionsLayout->addWidget(browseButton_, 1, 1);
    optionsLayout->addWidget(modesLabel, 2, 0, 1, 2);
    optionsLayout->addWidget(applicationMode_, 3, 0, 1, 2);
    optionsLayout->addWidget(screensaverMode_, 4, 0, 1, 2);

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
        nameEdit_->setText(projectFile.absolutePath() + u'/' + projectFile.completeBaseName() +
                          (screensaverMode_->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe")));
    }
    stateLabel_->setText(QStringLiteral("Ready"));
    progress_->setValue(0);
    QDialog::showEvent(event);
}

void BuildShowDialog::ModeChanged()
{
    const QString name = nameEdit_->text();
    if (HasShowExtension(name))
        nameEdit_->setText(name.left(name.size() - 4) +
                          (screensaverMode_->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe")));
}

QString BuildShowDialog::TargetPath() const
{
    const QString name = nameEdit_->text().trimmed();
    if (name.isEmpty())
        return {};
    QString path = QDir::home().absoluteFilePath(name);
    if (QFileInfo(path).suffix().isEmpty())
        path += screensaverMode_->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe");
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
    for (QWidget *control : std::initializer_list<QWidget *>{nameEdit_, browseButton_, applicationMode_, screensaverMode_,
                                                             makeButton_, testButton_, closeButton_})
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
