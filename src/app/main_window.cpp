#include "app/main_window.h"

#include "app/about_box.h"
#include "app/icons.h"
#include "app/make_exe_dialog.h"
#include "app/project_file.h"
#include "app/version.h"
#include "browse/MFileExplorer.h"
#include "browse/ShellDriveComboBox.h"
#include "browse/explorer_listing.h"
#include "browse/preview_pane.h"
#include "dialogs/Options.h"
#include "dialogs/Transit.h"
#include "media/picture_error.h"
#include "player/Sliders.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace lumetta {

namespace {

const QString kFilter = QStringLiteral("Lumettas (*.zut)");
constexpr int kLeftPanelWidth = 321;
constexpr int kPreviewHeight = 282;
const QString kStartMask = QStringLiteral("*.BMP;*.JPG;*.JPEG;*.GIF");

}  // namespace

// A one-line label that shortens its text in the middle to its width and keeps the whole text
// as its tool tip.
class TForm1::ElidedLabel : public QLabel
{
public:
    explicit ElidedLabel(QWidget *parent) : QLabel(parent)
    {
        setMinimumWidth(1);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }

    void SetFullText(const QString &text)
    {
        full_ = text;
        setToolTip(text);
        Elide();
    }
    const QString &FullText() const { return full_; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, std::max(1, contentsRect().width()))); }

    QString full_;
};

// The real dialogs behind the project commands.
class TForm1::WindowDialogs : public ProjectDialogs
{
public:
    explicit WindowDialogs(TForm1 *window) : window_(window) {}

    std::optional<QString> AskOpenPath() override
    {
        const QString path = QFileDialog::getOpenFileName(window_, QStringLiteral("Open"), StartFolder(), kFilter);
        return Remember(path);
    }
    std::optional<QString> AskSaveName() override
    {
        const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Save As"), StartFolder(), kFilter);
        return Remember(path);
    }
    Answer AskSaveProject() override
    {
        switch (QMessageBox::question(window_, QStringLiteral("Confirm"),
                                      QStringLiteral("Do you want to save the project?"),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    void ShowError(const QString &message) override
    {
        QMessageBox::critical(window_, QLatin1String(kProgramName), message);
    }

private:
    // The folder of the last project file chosen, else the folder the file list shows.
    QString StartFolder() const { return folder_.isEmpty() ? window_->flb_->Directory() : folder_; }

    std::optional<QString> Remember(const QString &path)
    {
        if (path.isEmpty())
            return std::nullopt;
        folder_ = QFileInfo(path).absolutePath();
        return path;
    }

    TForm1 *window_;
    QString folder_;
};

TForm1::TForm1(const ListFiles &listFiles, ProjectDialogs *dialogs, QWidget *parent)
    : QMainWindow(parent),
      listFiles_(listFiles),
      ownDialogs_(std::make_unique<WindowDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(MakeIcon(IconId::App));
    resize(1000, 700);

    BuildMenus();
    BuildToolBar();
    mainSplitter_ = new QSplitter(Qt::Horizontal, this);
    mainSplitter_->setObjectName(QStringLiteral("Splitter1"));
    mainSplitter_->setChildrenCollapsible(false);
    mainSplitter_->addWidget(BuildLeftPanel());
    mainSplitter_->addWidget(BuildRightPanel());
    mainSplitter_->setStretchFactor(1, 1);
    mainSplitter_->setSizes({kLeftPanelWidth, 700});
    setCentralWidget(mainSplitter_);

    statusText_ = new QLabel(QStringLiteral("Use double click in order to add pictures"), this);
    statusText_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusText_, 1);

    aboutBox_ = new TAboutBox(this);
    sShow_ = new TSShow(this);
    form2_ = new TForm2(project_.EffectSelection(), nullptr, this);
    opty_ = new TOpty(project_.Settings(), project_.Playlist(), *form2_, nullptr, this);
    connect(opty_, &TOpty::FileMaskChosen, flb_, &TMFileExplorer::SetMask);
    makeExe_ = new TMakeExeDialog(project_, this);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::SetStartupFile(const QString &path)
{
    startupFile_ = QFileInfo(path).absoluteFilePath();
}

QAction *TForm1::AddAction(QMenu *menu, const QString &objectName, const QString &text,
                           const QList<QKeySequence> &keys, void (TForm1::*slot)())
{
    auto *action = new QAction(text, this);
    action->setObjectName(objectName);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    return action;
}

QAction *TForm1::AddToolAction(QToolBar *bar, const QString &objectName, const QString &text, IconId icon,
                               void (TForm1::*slot)())
{
    QAction *action = bar->addAction(MakeIcon(icon), text);
    action->setIconText(text);  // keeps "Save As..." whole on the button
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this, slot);
    if (QWidget *button = bar->widgetForAction(action))
        button->setObjectName(objectName + QLatin1String("Button"));
    return action;
}

void TForm1::BuildMenus()
{
    QMenu *project = menuBar()->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("ProjectMenu"));
    project->setDefaultAction(AddAction(project, QStringLiteral("PlayNowItem"), QStringLiteral("&Play Now"),
                                        {QKeySequence(Qt::Key_F5)}, &TForm1::PlayNow));
    project->defaultAction()->setIcon(MakeIcon(IconId::Play));
    project->addSeparator();
    AddAction(project, QStringLiteral("NewItem"), QStringLiteral("&New ..."), {QKeySequence(Qt::CTRL | Qt::Key_N)},
              &TForm1::NewProject)
        ->setIcon(MakeIcon(IconId::NewProject));
    AddAction(project, QStringLiteral("OpenItem"), QStringLiteral("&Open ..."), {QKeySequence(Qt::CTRL | Qt::Key_O)},
              &TForm1::OpenProject)
        ->setIcon(MakeIcon(IconId::Open));
    AddAction(project, QStringLiteral("SaveItem"), QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
              &TForm1::SaveProject)
        ->setIcon(MakeIcon(IconId::Save));
    AddAction(project, QStringLiteral("SaveAsItem"), QStringLiteral("Save &As ..."), {}, &TForm1::SaveProjectAs)
        ->setIcon(MakeIcon(IconId::SaveAs));
    AddAction(project, QStringLiteral("MakeExeItem"), QStringLiteral("&Make slide-show (.EXE) ..."), {},
              &TForm1::MakeSlideShow)
        ->setIcon(MakeIcon(IconId::MakeShow));
    project->addSeparator();
    recentMenu_ = project->addMenu(QStringLiteral("&Recent Folders"));
    recentMenu_->setObjectName(QStringLiteral("RecentFoldersMenu"));
    project->addSeparator();
    QAction *exit = AddAction(project, QStringLiteral("ExitItem"), QStringLiteral("E&xit"),
                              {QKeySequence(Qt::Key_F10)}, nullptr);
    exit->setIcon(MakeIcon(IconId::Exit));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *pictures = menuBar()->addMenu(QStringLiteral("P&ictures"));
    pictures->setObjectName(QStringLiteral("PicturesMenu"));
    AddAction(pictures, QStringLiteral("AddItem"), QStringLiteral("&Add"),
              {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}, &TForm1::AddPictures)
        ->setIcon(MakeIcon(IconId::Add));
    AddAction(pictures, QStringLiteral("AddAllItem"), QStringLiteral("Add A&ll"), {QKeySequence(Qt::CTRL | Qt::Key_A)},
              &TForm1::AddAllPictures)
        ->setIcon(MakeIcon(IconId::AddAll));
    AddAction(pictures, QStringLiteral("RemoveItem"), QStringLiteral("&Remove"), {QKeySequence(Qt::Key_Delete)},
              &TForm1::RemovePictures)
        ->setIcon(MakeIcon(IconId::Remove));
    AddAction(pictures, QStringLiteral("ClearItem"), QStringLiteral("&Clear"),
              {QKeySequence(Qt::CTRL | Qt::Key_Delete)}, &TForm1::ClearPictures)
        ->setIcon(MakeIcon(IconId::Clear));

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    AddAction(options, QStringLiteral("OptionsItem"), QStringLiteral("&Options"),
              {QKeySequence(Qt::CTRL | Qt::Key_P)}, &TForm1::ShowOptions)
        ->setIcon(MakeIcon(IconId::Options));
    AddAction(options, QStringLiteral("AddMusicItem"), QStringLiteral("Add &Music"),
              {QKeySequence(Qt::CTRL | Qt::Key_M)}, &TForm1::AddMusic)
        ->setIcon(MakeIcon(IconId::Music));

    QMenu *web = menuBar()->addMenu(QStringLiteral("&Web"));
    web->setObjectName(QStringLiteral("WebMenu"));
    connect(web->addAction(QStringLiteral("&Download New Backgrounds")), &QAction::triggered, this,
            [this] { OpenLink(QUrl(QLatin1String(kBackgroundsPage))); });
    connect(web->addAction(QStringLiteral("Lumetta XP on the &Web")), &QAction::triggered, this,
            [this] { OpenLink(QUrl(QLatin1String(kHomePage))); });

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    AddAction(help, QStringLiteral("HelpItem"), QStringLiteral("&Help"), {QKeySequence(Qt::Key_F1)},
              &TForm1::ShowHelp)
        ->setIcon(MakeIcon(IconId::Help));
    QAction *support = AddAction(help, QStringLiteral("SupportItem"), QStringLiteral("&Technical Support"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_F1)}, nullptr);
    connect(support, &QAction::triggered, this, [this] { OpenLink(QUrl(QLatin1String(kSupportMail))); });
    help->addSeparator();
    AddAction(help, QStringLiteral("AboutItem"), QStringLiteral("&About"), {}, &TForm1::ShowAbout)
        ->setIcon(MakeIcon(IconId::About));
}

void TForm1::BuildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    AddToolAction(bar, QStringLiteral("ToolButton17"), QStringLiteral("Play Now"), IconId::Play, &TForm1::PlayNow);
    bar->addSeparator();
    AddToolAction(bar, QStringLiteral("NewProject"), QStringLiteral("New Project"), IconId::NewProject,
                  &TForm1::NewProject);
    AddToolAction(bar, QStringLiteral("Open"), QStringLiteral("Open"), IconId::Open, &TForm1::OpenProject);
    AddToolAction(bar, QStringLiteral("Save"), QStringLiteral("Save"), IconId::Save, &TForm1::SaveProject);
    AddToolAction(bar, QStringLiteral("SaveAs"), QStringLiteral("Save As..."), IconId::SaveAs,
                  &TForm1::SaveProjectAs);
    AddToolAction(bar, QStringLiteral("MakeExe"), QStringLiteral("Make EXE"), IconId::MakeShow,
                  &TForm1::MakeSlideShow);
    bar->addSeparator();
    AddToolAction(bar, QStringLiteral("Options"), QStringLiteral("Options"), IconId::Options, &TForm1::ShowOptions);
    AddToolAction(bar, QStringLiteral("Help"), QStringLiteral("Help"), IconId::Help, &TForm1::ShowHelp);
    QAction *exit = bar->addAction(MakeIcon(IconId::Exit), QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    for (QAction *action : bar->actions())
        if (QWidget *button = bar->widgetForAction(action); button && !action->isSeparator())
            button->setMinimumSize(65, 52);
    SetToolTips(bar);
}

void TForm1::SetToolTips(QToolBar *bar)
{
    // What a button does, with the key that does the same from anywhere in the window.
    static const struct {
        const char *name;
        const char *tip;
    } kTips[] = {
        {"ToolButton17", "Play the show full screen (F5)"},
        {"NewProject", "Start a new, empty project (Ctrl+N)"},
        {"Open", "Open a project (Ctrl+O)"},
        {"Save", "Save the project (Ctrl+S)"},
        {"SaveAs", "Save the project under a new name"},
        {"MakeExe", "Build the show into one self-running program"},
        {"Options", "How the show runs, its music and transitions (Ctrl+P)"},
        {"Help", "Open the help guide (F1)"},
        {"Exit", "Close Lumetta (F10)"},
        {"Add", "Add the files selected on the left (Enter)"},
        {"AddAll", "Add every picture of the folder (Ctrl+A)"},
        {"Remove", "Remove the selected pictures from the show (Del)"},
        {"Clear", "Remove all pictures from the show (Ctrl+Del)"},
    };
    for (QAction *action : bar->actions())
        for (const auto &tip : kTips)
            if (action->objectName() == QLatin1String(tip.name))
                action->setToolTip(QLatin1String(tip.tip));
}

QWidget *TForm1::BuildLeftPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));

    // The drive selector takes the bar's width less the "Up" button and 2 pixels.
    auto *bar = new QWidget(panel);
    bar->setObjectName(QStringLiteral("ToolBar3"));
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 2, 0, 2);
    barLayout->setSpacing(2);
    auto *up = new QToolButton(bar);
    up->setObjectName(QStringLiteral("UpButton"));
    up->setText(QStringLiteral("Up"));
    up->setToolTip(QStringLiteral("Parent folder"));
    up->setIcon(MakeIcon(IconId::FolderUp));
    up->setIconSize(QSize(16, 16));
    up->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    up->setAutoRaise(true);
    dirBox_ = new TShellDriveComboBox(bar);
    dirBox_->setObjectName(QStringLiteral("DirBox"));
    dirBox_->setToolTip(QStringLiteral("Volume"));
    barLayout->addWidget(up);
    barLayout->addWidget(dirBox_, 1);

    flb_ = new TMFileExplorer(panel);
    flb_->setObjectName(QStringLiteral("FLB"));
    flb_->SetShowColumnHeaders(false);
    for (int column = 1; column < flb_->columnCount(); ++column)
        flb_->setColumnHidden(column, true);
    flb_->SetContextMenu(true);
    flb_->SetContextAction(false);
    // Dot files are configuration, not pictures: they stay out of the list.
    flb_->SetFileType(TFileType(ftNormal | ftReadOnly | ftSystem | ftArchive));
    flb_->SetMask(kStartMask);

    connect(up, &QToolButton::clicked, flb_, &TMFileExplorer::GoUp);
    connect(dirBox_, &TShellDriveComboBox::Changed, this, [this] { ShowFolder(dirBox_->Drive()); });
    connect(flb_, &TMFileExplorer::Clicked, this, &TForm1::ShowClickedFile);
    connect(flb_, &TMFileExplorer::DoubleClicked, this, &TForm1::AddPictures);

    // The drive selector names only the volume: this line tells which folder is listed.
    folderLabel_ = new ElidedLabel(panel);
    folderLabel_->setObjectName(QStringLiteral("FolderLabel"));
    folderLabel_->setContentsMargins(4, 2, 4, 2);
    connect(flb_, &TMFileExplorer::DirectoryChanged, this, &TForm1::RefreshFolderLabel);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(folderLabel_);
    layout->addWidget(flb_, 1);
    RefreshFolderLabel();
    return panel;
}

QWidget *TForm1::BuildRightPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("RightPanel"));

    auto *bar = new QToolBar(panel);
    bar->setObjectName(QStringLiteral("ToolBar2"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *add = bar->addAction(MakeIcon(IconId::Add), QStringLiteral("Add"));
    add->setObjectName(QStringLiteral("Add"));
    connect(add, &QAction::triggered, this, &TForm1::AddPictures);
    QAction *addAll = bar->addAction(MakeIcon(IconId::AddAll), QStringLiteral("Add All"));
    addAll->setObjectName(QStringLiteral("AddAll"));
    connect(addAll, &QAction::triggered, this, &TForm1::AddAllPictures);
    bar->addSeparator();
    QAction *remove = bar->addAction(MakeIcon(IconId::Remove), QStringLiteral("Remove"));
    remove->setObjectName(QStringLiteral("Remove"));
    connect(remove, &QAction::triggered, this, &TForm1::RemovePictures);
    QAction *clear = bar->addAction(MakeIcon(IconId::Clear), QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear"));
    connect(clear, &QAction::triggered, this, &TForm1::ClearPictures);
    bar->addSeparator();

    previewButton_ = new QToolButton(bar);
    previewButton_->setObjectName(QStringLiteral("PreviewButton"));
    previewButton_->setText(QStringLiteral("Preview"));
    previewButton_->setIcon(MakeIcon(IconId::Preview));
    previewButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    previewButton_->setCheckable(true);
    previewButton_->setChecked(true);
    previewButton_->setAutoRaise(true);
    // The click toggles through TogglePreview, which keeps button and panel in step.
    connect(previewButton_, &QToolButton::clicked, this, [this] {
        previewButton_->setChecked(!previewButton_->isChecked());
        TogglePreview();
    });
    bar->addWidget(previewButton_);
    bar->addSeparator();

    auto *arrows = new QWidget(bar);
    arrows->setObjectName(QStringLiteral("UpDown1"));
    auto *arrowLayout = new QVBoxLayout(arrows);
    arrowLayout->setContentsMargins(0, 0, 0, 0);
    arrowLayout->setSpacing(0);
    for (bool up : {true, false}) {
        auto *arrow = new QToolButton(arrows);
        arrow->setObjectName(up ? QStringLiteral("ArrowUp") : QStringLiteral("ArrowDown"));
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setToolTip(up ? QStringLiteral("Move the picture up") : QStringLiteral("Move the picture down"));
        arrow->setAutoRepeat(true);
        arrow->setFixedSize(26, 13);
        connect(arrow, &QToolButton::clicked, this, [this, up] { ArrowClicked(up); });
        arrowLayout->addWidget(arrow);
    }
    bar->addWidget(arrows);
    for (QAction *action : bar->actions())
        if (QWidget *button = bar->widgetForAction(action); button && !action->isSeparator() && button != arrows)
            button->setMinimumWidth(67);
    SetToolTips(bar);
    previewButton_->setToolTip(QStringLiteral("Show or hide the preview"));

    preview_ = new PreviewPane(panel);
    preview_->setObjectName(QStringLiteral("PrePanel"));
    preview_->setMinimumHeight(0);
    preview_->setAutoFillBackground(true);
    QPalette backdrop = preview_->palette();
    backdrop.setColor(QPalette::Window, QColor(0x3A, 0x3D, 0x42));
    preview_->setPalette(backdrop);

    pictureModel_ = new PictureListModel(project_.Pictures(), this);
    listBox1_ = new QListView(panel);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setModel(pictureModel_);
    listBox1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listBox1_->setUniformItemSizes(true);
    listBox1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listBox1_->setTextElideMode(Qt::ElideMiddle);
    listBox1_->setAlternatingRowColors(true);
    connect(listBox1_, &QListView::clicked, this, &TForm1::ShowSelectedPicture);
    connect(listBox1_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!quietSelection_)
            ShowSelectedPicture();
    });

    rightSplitter_ = new QSplitter(Qt::Vertical, panel);
    rightSplitter_->setObjectName(QStringLiteral("Splitter2"));
    rightSplitter_->addWidget(preview_);
    rightSplitter_->addWidget(listBox1_);
    rightSplitter_->setCollapsible(1, false);
    rightSplitter_->setStretchFactor(1, 1);
    rightSplitter_->setSizes({kPreviewHeight, 400});

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(rightSplitter_, 1);
    return panel;
}

void TForm1::FormCreate()
{
    RefreshTitles();
    // A folder that cannot be written is reported when the close request writes the lists.
    listFiles_.CreateMissing();
    sopt_ = listFiles_.ReadResume();
    SetPreviewShown(!sopt_.isEmpty() && sopt_[0] == QLatin1String("Pre"));
    recent_.Load(listFiles_.ReadRecentFolders());
    recent_.FillMenu(recentMenu_, [this](const QString &folder) { ShowFolder(folder); });
}

void TForm1::FormActivate()
{
    startDir_ = listFiles_.ReadStartDir();
    if (activated_)
        return;
    activated_ = true;
    ShowFolder(StartFolder(startDir_));
    if (!startupFile_.isEmpty()) {
        if (project_.OpenPath(startupFile_, *dialogs_) == ShowProject::Outcome::Done)
            AfterProjectLoaded();
    } else if (sopt_.size() >= 2 && sopt_[1] != QLatin1String("No") && !sopt_[1].isEmpty()) {
        if (project_.Reopen(sopt_[1], *dialogs_) == ShowProject::Outcome::Done)
            AfterProjectLoaded();
    }
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    else if (event->type() == QEvent::WindowUnblocked && isVisible())
        // Without a window manager nothing hands the activation back after a dialog, and the
        // window's keys would stop working.
        activateWindow();
    else if (event->type() == QEvent::Show && !activated_)
        QTimer::singleShot(0, this, [this] {
            if (!activated_ && isVisible())
                FormActivate();
        });
    return QMainWindow::event(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormCloseQuery()
{
    startDir_ = QStringList{flb_->Directory()};
    try {
        listFiles_.WriteStartDir(startDir_);
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
    sopt_ = {PreviewShown() ? QStringLiteral("Pre") : QStringLiteral("Not"), project_.ResumeEntry()};
    try {
        listFiles_.WriteResume(sopt_);
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
    return project_.ConfirmClose(*dialogs_);
}

void TForm1::PlayNow()
{
    if (sShow_->PlayNow(project_) == TSShow::StartResult::Failed)
        Report(sShow_->ErrorText());
}

void TForm1::ShowOptions()
{
    OpenOptions(int(TOpty::Page::Main));
}

void TForm1::AddMusic()
{
    OpenOptions(int(TOpty::Page::Music));
}

void TForm1::OpenOptions(int page)
{
    opty_->Open(TOpty::Page(page));
    project_.SetModified();
}

void TForm1::MakeSlideShow()
{
    project_.Save(*dialogs_);
    makeExe_->exec();
}

void TForm1::Report(const QString &message)
{
    dialogs_->ShowError(message);
}

void TForm1::RefreshCounter()
{
    statusText_->setText(QStringLiteral("Counter: %1").arg(project_.Pictures().size()));
}

void TForm1::RefreshTitles()
{
    setWindowTitle(project_.Caption());
    setWindowIconText(project_.ApplicationTitle());
}

void TForm1::SelectFirstPicture()
{
    if (project_.Pictures().isEmpty())
        return;
    quietSelection_ = true;
    listBox1_->selectionModel()->setCurrentIndex(pictureModel_->index(0),
                                                 QItemSelectionModel::ClearAndSelect);
    quietSelection_ = false;
    ShowSelectedPicture();
}

void TForm1::RefreshFolderLabel()
{
    const QString folder = flb_->Directory();
    folderLabel_->SetFullText(IsDrivesDirectory(folder) ? QStringLiteral("Volumes") : folder);
}

QString TForm1::FolderText() const
{
    return folderLabel_->FullText();
}

void TForm1::ShowFolder(const QString &folder)
{
    flb_->SetDirectory(folder);
}

void TForm1::LoadPreview(const QString &path)
{
    try {
        preview_->ShowFile(path);
    } catch (const PictureError &error) {
        // The pane must not go on showing another picture under the name just chosen.
        preview_->Clear();
        Report(error.message());
    }
}

void TForm1::ShowSelectedPicture()
{
    if (!PreviewShown() || !listBox1_->selectionModel()->hasSelection())
        return;
    const int row = listBox1_->currentIndex().row();
    if (row >= 0 && row < project_.Pictures().size())
        LoadPreview(project_.Pictures()[row]);
}

void TForm1::ShowClickedFile()
{
    listBox1_->clearSelection();
    if (!PreviewShown())
        return;
    const QString path = flb_->CurrentFile();
    if (IsPictureFileName(QFileInfo(path).fileName()))
        LoadPreview(path);
}

void TForm1::RememberFolder(const QString &folder)
{
    if (!recent_.Add(folder))
        return;
    try {
        listFiles_.WriteRecentFolders(recent_.Folders());
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
}

void TForm1::AddFromFileList(bool selectedOnly)
{
    project_.SetModified();
    const QString folder = flb_->Directory();
    bool first = true;
    for (int i = 0; i < flb_->AllCount(); ++i) {
        if ((selectedOnly && !flb_->IsItemSelected(i)) || !flb_->IsItemFile(i))
            continue;
        const QString name = flb_->ItemFileName(i);
        // A project keeps one path per line: a name with a line break could not be read back.
        if (!IsPictureFileName(name) || name.contains(u'\n') || name.contains(u'\r'))
            continue;
        if (first)
            RememberFolder(folder);
        first = false;
        pictureModel_->Append(folder + name);
        flb_->SetItemGhosted(i, true);
    }
    if (!project_.Pictures().isEmpty() && !preview_->HasPicture())
        SelectFirstPicture();
    RefreshCounter();
}

void TForm1::AddPictures()
{
    AddFromFileList(true);
}

void TForm1::AddAllPictures()
{
    AddFromFileList(false);
}

void TForm1::AfterProjectLoaded()
{
    quietSelection_ = true;
    pictureModel_->Reload();
    quietSelection_ = false;
    RefreshCounter();
    RefreshTitles();
    SelectFirstPicture();
}

void TForm1::NewProject()
{
    if (project_.New(*dialogs_) != ShowProject::Outcome::Done)
        return;
    preview_->Clear();
    pictureModel_->Reload();
    RefreshTitles();
    RefreshCounter();
}

void TForm1::OpenProject()
{
    if (project_.Open(*dialogs_) == ShowProject::Outcome::Done)
        AfterProjectLoaded();
}

void TForm1::SaveProject()
{
    project_.Save(*dialogs_);
}

void TForm1::SaveProjectAs()
{
    project_.SaveAs(*dialogs_);
    RefreshTitles();
}

void TForm1::RemovePictures()
{
    project_.SetModified();
    QList<int> rows;
    for (const QModelIndex &index : listBox1_->selectionModel()->selectedIndexes())
        rows.append(index.row());
    quietSelection_ = true;
    pictureModel_->RemoveRows(rows);
    quietSelection_ = false;
    RefreshCounter();
}

void TForm1::ClearPictures()
{
    project_.SetModified();
    pictureModel_->Clear();
    RefreshCounter();
    preview_->Clear();
}

void TForm1::ArrowClicked(bool upArrow)
{
    const int direction = arrows_.Click(upArrow);
    if (direction == 0 || project_.Pictures().isEmpty())
        return;
    const int current = std::max(0, listBox1_->currentIndex().row());
    const int moved = pictureModel_->Move(current, direction);
    if (moved < 0)
        return;
    QItemSelectionModel *selection = listBox1_->selectionModel();
    quietSelection_ = true;
    // The two exchanged rows lose their marks; only the moved picture is selected again.
    selection->select(pictureModel_->index(current), QItemSelectionModel::Deselect);
    selection->select(pictureModel_->index(moved), QItemSelectionModel::Deselect);
    selection->setCurrentIndex(pictureModel_->index(moved), QItemSelectionModel::Select);
    quietSelection_ = false;
    project_.SetModified();
}

bool TForm1::PreviewShown() const
{
    return previewButton_->isChecked();
}

void TForm1::SetPreviewShown(bool shown)
{
    previewButton_->setChecked(shown);
    preview_->setVisible(shown);
}

void TForm1::TogglePreview()
{
    const int row = listBox1_->currentIndex().row();
    if (!project_.Pictures().isEmpty())
        LoadPreview(project_.Pictures()[std::max(0, row)]);
    SetPreviewShown(!PreviewShown());
}

QString TForm1::StatusText() const
{
    return statusText_->text();
}

QString TForm1::HelpFilePath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kHelpFileName));
}

void TForm1::ShowHelp()
{
    const QString path = HelpFilePath();
    if (!QFileInfo::exists(path)) {
        Report(QStringLiteral("Cannot open the help guide %1: the file does not exist").arg(path));
        return;
    }
    OpenLink(QUrl::fromLocalFile(path));
}

void TForm1::OpenLink(const QUrl &url)
{
    // The desktop only writes a warning on the terminal when it has no program for a link.
    if (!QDesktopServices::openUrl(url))
        Report(QStringLiteral("Cannot open %1: the desktop has no program set up to show it")
                   .arg(url.isLocalFile() ? url.toLocalFile() : url.toString()));
}

void TForm1::ShowAbout()
{
    aboutBox_->exec();
}

}  // namespace lumetta
