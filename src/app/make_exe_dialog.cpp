#include "app/make_exe_dialog.h"

#include "app/project_file.h"
#include "app/show_project.h"
#include "app/version.h"

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

class TMakeExeDialog::WindowQuestions : public MakeExeQuestions
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

TMakeExeDialog::TMakeExeDialog(ShowProject &project, QWidget *parent, MakeExeQuestions *questions, QString stubPath)
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
    NameEdit = new QLineEdit(options);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setMinimumWidth(320);
    nameLabel->setBuddy(NameEdit);
    BrowseButton = new QPushButton(QStringLiteral("&Browse..."), options);
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
    auto *modesLabel = new QLabel(QStringLiteral("Modes"), options);
    ApplicationMode = new QRadioButton(QStringLiteral("Make &application (*.EXE)"), options);
    ApplicationMode->setObjectName(QStringLiteral("ApplicationMode"));
    ApplicationMode->setChecked(true);
    ScreensaverMode = new QRadioButton(QStringLiteral("Make &screensaver (*.SCR)"), options);
    ScreensaverMode->setObjectName(QStringLiteral("ScreensaverMode"));
    auto *optionsLayout = new QGridLayout(options);
    optionsLayout->addWidget(nameLabel, 0, 0, 1, 2);
    optionsLayout->addWidget(NameEdit, 1, 0);
    optionsLayout->addWidget(BrowseButton, 1, 1);
    optionsLayout->addWidget(modesLabel, 2, 0, 1, 2);
    optionsLayout->addWidget(ApplicationMode, 3, 0, 1, 2);
    optionsLayout->addWidget(ScreensaverMode, 4, 0, 1, 2);

    auto *information = new QGroupBox(QStringLiteral("Information"), this);
    StateLabel = new QLabel(QStringLiteral("Ready"), information);
    StateLabel->setObjectName(QStringLiteral("StateLabel"));
    ProgressBar1 = new QProgressBar(information);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto *informationLayout = new QVBoxLayout(information);
    informationLayout->addWidget(StateLabel);
    informationLayout->addWidget(ProgressBar1);

    MakeButton = new QPushButton(QStringLiteral("&Make"), this);
    MakeButton->setObjectName(QStringLiteral("MakeButton"));
    MakeButton->setDefault(true);
    TestButton = new QPushButton(QStringLiteral("&Test"), this);
    TestButton->setObjectName(QStringLiteral("TestButton"));
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(MakeButton);
    buttons->addWidget(TestButton);
    buttons->addWidget(CloseButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(information);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BrowseButton, &QPushButton::clicked, this, &TMakeExeDialog::Browse);
    connect(MakeButton, &QPushButton::clicked, this, &TMakeExeDialog::Make);
    connect(TestButton, &QPushButton::clicked, this, &TMakeExeDialog::Test);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ApplicationMode, &QRadioButton::toggled, this, &TMakeExeDialog::ModeChanged);

    builder_.SetProgress([this](int value, int maximum) {
        ProgressBar1->setRange(0, maximum);
        ProgressBar1->setValue(value);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

TMakeExeDialog::~TMakeExeDialog() = default;

void TMakeExeDialog::showEvent(QShowEvent *event)
{
    // A new name starts beside the project file, named after it.
    if (NameEdit->text().isEmpty() && !project_.SaveTarget().isEmpty()) {
        const QFileInfo projectFile(project_.SaveTarget());
        NameEdit->setText(projectFile.absolutePath() + u'/' + projectFile.completeBaseName() +
                          (ScreensaverMode->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe")));
    }
    StateLabel->setText(QStringLiteral("Ready"));
    ProgressBar1->setValue(0);
    QDialog::showEvent(event);
}

void TMakeExeDialog::ModeChanged()
{
    const QString name = NameEdit->text();
    if (HasShowExtension(name))
        NameEdit->setText(name.left(name.size() - 4) +
                          (ScreensaverMode->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe")));
}

QString TMakeExeDialog::TargetPath() const
{
    const QString name = NameEdit->text().trimmed();
    if (name.isEmpty())
        return {};
    QString path = QDir::home().absoluteFilePath(name);
    if (QFileInfo(path).suffix().isEmpty())
        path += ScreensaverMode->isChecked() ? QLatin1String(".scr") : QLatin1String(".exe");
    return QDir::cleanPath(path);
}

void TMakeExeDialog::Browse()
{
    const std::optional<std::pair<QString, bool>> answer =
        questions_->AskTarget(TargetPath(), ScreensaverMode->isChecked());
    if (!answer)
        return;
    const auto &[path, screensaver] = *answer;
    (screensaver ? ScreensaverMode : ApplicationMode)->setChecked(true);
    NameEdit->setText(path);
    NameEdit->setText(TargetPath());  // with the chosen mode's extension when the name has none
}

void TMakeExeDialog::SetBusy(bool busy)
{
    for (QWidget *control : std::initializer_list<QWidget *>{NameEdit, BrowseButton, ApplicationMode, ScreensaverMode,
                                                             MakeButton, TestButton, CloseButton})
        control->setEnabled(!busy);
    StateLabel->setText(busy ? QStringLiteral("Making the slide show...") : QStringLiteral("Ready"));
}

void TMakeExeDialog::Make()
{
    const QString target = TargetPath();
    if (target.isEmpty()) {
        questions_->ShowError(QStringLiteral("Enter the name and path of the slide show to make."));
        NameEdit->setFocus();
        return;
    }
    NameEdit->setText(target);
    auto existing = StandaloneBuilder::ExistingTarget::Refuse;
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        if (!questions_->AskReplace(target))
            return;
        existing = StandaloneBuilder::ExistingTarget::Replace;
    }
    ProgressBar1->setValue(0);
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

void TMakeExeDialog::Test()
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
