// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/desktop_recent_files.h"

#include "app/dropped_files.h"
#include "app/help_window.h"
#include "app/picture_list_delegate.h"
#include "app/picture_list_view.h"
#include "app/slide_edit.h"
#include "app/slide_panel.h"
#include "app/tool_bar_fitter.h"
#include "browse/explorer_listing.h"
#include "browse/file_list_view.h"
#include "browse/motion_overlay.h"
#include "browse/preview_pane.h"
#include "browse/thumbnail_loader.h"
#include "browse/volume_selector.h"
#include "common/installed_files.h"
#include "dialogs/about_dialog.h"
#include "dialogs/build_show_dialog.h"
#include "dialogs/dialog_questions.h"
#include "dialogs/effect_selection_dialog.h"
#include "dialogs/export_video_dialog.h"
#include "dialogs/make_web_show_dialog.h"
#include "dialogs/icons.h"
#include "dialogs/options_dialog.h"
#include "media/picture_error.h"
#include "media/picture_extensions.h"
#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "show/project_file.h"
#include "show/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
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
// Thumbnails in the picture list and the folder panel, in logical pixels.
constexpr QSize kThumbnailBound(48, 36);

}  // namespace

// A one-line label that shortens its text in the middle to its width and keeps the whole text
// as its tool tip.
class MainWindow::ElidedLabel : public QLabel
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
class MainWindow::WindowDialogs : public ProjectDialogs
{
public:
    explicit WindowDialogs(MainWindow *window) : window_(window) {}

    std::optional<QString> AskOpenPath() override
    {
        const QString path = QFileDialog::getOpenFileName(window_, QStringLiteral("Open"), StartFolder(), kFilter);
        return Chosen(path);
    }
    std::optional<QString> AskSaveName() override
    {
        // The project asks about the file it will really write, which may be another name.
        const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Save As"), StartFolder(), kFilter,
                                                          nullptr, QFileDialog::DontConfirmOverwrite);
        return Chosen(path);
    }
    bool AskReplace(const QString &path) override { return AskReplaceFile(window_, path); }
    Answer AskSaveProject() override
    {
        switch (QMessageBox::question(window_, QStringLiteral("Confirm"),
                                      QStringLiteral("Do you want to save the project?"),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
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
    bool AskPlayDemo() override
    {
        return QMessageBox::question(window_, QLatin1String(kProgramName),
                                     QStringLiteral("Welcome to %1. Would you like to see the demo show now?\n\n"
                                                    "It plays full screen; Escape ends it. Help > Play Demo Show "
                                                    "plays it again later.")
                                         .arg(QLatin1String(kProgramName)),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    }

private:
    QString StartFolder() const { return window_->ProjectDialogFolder(); }

    static std::optional<QString> Chosen(const QString &path)
    {
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }

    MainWindow *window_;
};

MainWindow::MainWindow(const ListFiles &listFiles, ProjectDialogs *dialogs, QWidget *parent)
    : QMainWindow(parent),
      listFiles_(listFiles),
      playPreferences_(listFiles.Folder()),
      ownDialogs_(std::make_unique<WindowDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      editor_(new ProjectEditor(project_, this)),
      thumbnails_(new ThumbnailLoader(kThumbnailBound, qApp->devicePixelRatio(), this)),
      recentProjects_(listFiles.Folder())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(MakeIcon(IconId::App));
    setAcceptDrops(true);
    connect(editor_, &ProjectEditor::Applied, this, &MainWindow::ShowEdited);
    connect(editor_, &ProjectEditor::ModifiedChanged, this, &MainWindow::RefreshTitles);

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

    about_ = new AboutDialog(this);
    player_ = new PlayerWindow(this);
    effectSelection_ = new EffectSelectionDialog(project_.EffectSelection(), nullptr, this);
    options_ = new OptionsDialog(project_.Settings(), project_.Playlist(), *effectSelection_, nullptr, this);
    options_->SetPlayPreferences(&playPreferences_);
    connect(options_, &OptionsDialog::FileMaskChosen, fileList_, &FileListView::SetMask);
    buildShow_ = new BuildShowDialog(project_, this);
    BuildWindow();
    // The first size fits the screen, however small or magnified, and the preview leaves the
    // picture list room on a low one.
    resize(QSize(1000, 700).boundedTo(screen()->availableGeometry().size()).expandedTo(minimumSizeHint()));
    rightSplitter_->setSizes({std::min(kPreviewHeight, height() / 2), height()});
}

MainWindow::~MainWindow() = default;

void MainWindow::SetStartupFile(const QString &path)
{
    startupFile_ = QFileInfo(path).absoluteFilePath();
}

QAction *MainWindow::AddAction(QMenu *menu, const QString &objectName, const QString &text,
                               const QList<QKeySequence> &keys, void (MainWindow::*slot)())
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

QAction *MainWindow::AddToolAction(QToolBar *bar, const QString &objectName, const QString &text, IconId icon,
                                   void (MainWindow::*slot)())
{
    QAction *action = bar->addAction(MakeIcon(icon), text);
    action->setIconText(text);  // keeps "Save As..." whole on the button
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this, slot);
    if (QWidget *button = bar->widgetForAction(action))
        button->setObjectName(objectName + QLatin1String("Button"));
    return action;
}

void MainWindow::BuildMenus()
{
    QMenu *project = menuBar()->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("ProjectMenu"));
    project->setDefaultAction(AddAction(project, QStringLiteral("PlayNowItem"), QStringLiteral("&Play Now"),
                                        {QKeySequence(Qt::Key_F5)}, &MainWindow::PlayNow));
    project->defaultAction()->setIcon(MakeIcon(IconId::Play));
    project->addSeparator();
    AddAction(project, QStringLiteral("NewItem"), QStringLiteral("&New ..."), {QKeySequence(Qt::CTRL | Qt::Key_N)},
              &MainWindow::NewProject)
        ->setIcon(MakeIcon(IconId::NewProject));
    AddAction(project, QStringLiteral("OpenItem"), QStringLiteral("&Open ..."), {QKeySequence(Qt::CTRL | Qt::Key_O)},
              &MainWindow::OpenProject)
        ->setIcon(MakeIcon(IconId::Open));
    AddAction(project, QStringLiteral("SaveItem"), QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
              &MainWindow::SaveProject)
        ->setIcon(MakeIcon(IconId::Save));
    AddAction(project, QStringLiteral("SaveAsItem"), QStringLiteral("Save &As ..."),
              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, &MainWindow::SaveProjectAs)
        ->setIcon(MakeIcon(IconId::SaveAs));
    AddAction(project, QStringLiteral("MakeExeItem"), QStringLiteral("&Make slide-show (.EXE) ..."), {},
              &MainWindow::MakeSlideShow)
        ->setIcon(MakeIcon(IconId::MakeShow));
    AddAction(project, QStringLiteral("ExportVideoItem"), QStringLiteral("&Export Video..."), {},
              &MainWindow::ExportVideo)
        ->setIcon(MakeIcon(IconId::ExportVideo));
    AddAction(project, QStringLiteral("MakeWebShowItem"), QStringLiteral("Make &Web Show..."), {},
              &MainWindow::MakeWebShow);
    project->addSeparator();
    recentProjectsMenu_ = project->addMenu(QStringLiteral("Open Re&cent"));
    recentProjectsMenu_->setObjectName(QStringLiteral("RecentProjectsMenu"));
    // Built when opened, so a project deleted meanwhile shows as missing.
    connect(recentProjectsMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentProjectsMenu);
    recentMenu_ = project->addMenu(QStringLiteral("&Recent Folders"));
    recentMenu_->setObjectName(QStringLiteral("RecentFoldersMenu"));
    project->addSeparator();
    const QKeySequence exitKeys[] = {QKeySequence(Qt::Key_F10), QKeySequence(Qt::CTRL | Qt::Key_Q)};
    // A menu shows only an action's first key; the text after the tab shows both.
    QAction *exit = AddAction(
        project, QStringLiteral("ExitItem"),
        QStringLiteral("E&xit\t%1, %2")
            .arg(exitKeys[0].toString(QKeySequence::NativeText), exitKeys[1].toString(QKeySequence::NativeText)),
        {exitKeys[0], exitKeys[1]}, nullptr);
    exit->setIcon(MakeIcon(IconId::Exit));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    QAction *undo = editor_->History().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("UndoItem"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    edit->addAction(undo);
    QAction *redo = editor_->History().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("RedoItem"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(redo);

    QMenu *pictures = menuBar()->addMenu(QStringLiteral("P&ictures"));
    pictures->setObjectName(QStringLiteral("PicturesMenu"));
    AddAction(pictures, QStringLiteral("AddItem"), QStringLiteral("&Add"),
              {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}, &MainWindow::AddPictures)
        ->setIcon(MakeIcon(IconId::Add));
    AddAction(pictures, QStringLiteral("AddAllItem"), QStringLiteral("Add A&ll"), {QKeySequence(Qt::CTRL | Qt::Key_A)},
              &MainWindow::AddAllPictures)
        ->setIcon(MakeIcon(IconId::AddAll));
    AddAction(pictures, QStringLiteral("RemoveItem"), QStringLiteral("&Remove"), {QKeySequence(Qt::Key_Delete)},
              &MainWindow::RemovePictures)
        ->setIcon(MakeIcon(IconId::Remove));
    AddAction(pictures, QStringLiteral("ClearItem"), QStringLiteral("&Clear"),
              {QKeySequence(Qt::CTRL | Qt::Key_Delete)}, &MainWindow::ClearPictures)
        ->setIcon(MakeIcon(IconId::Clear));
    pictures->addSeparator();
    AddAction(pictures, QStringLiteral("MoveUpItem"), QStringLiteral("Move &Up"), {QKeySequence(Qt::CTRL | Qt::Key_Up)},
              &MainWindow::MoveSelectedUp);
    AddAction(pictures, QStringLiteral("MoveDownItem"), QStringLiteral("Move &Down"),
              {QKeySequence(Qt::CTRL | Qt::Key_Down)}, &MainWindow::MoveSelectedDown);
    pictures->addSeparator();
    AddAction(pictures, QStringLiteral("SlideDetailsItem"), QStringLiteral("Slide &Details"),
              {QKeySequence(Qt::CTRL | Qt::Key_E)}, &MainWindow::EditSlideDetails);

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    AddAction(options, QStringLiteral("OptionsItem"), QStringLiteral("&Options"), {QKeySequence(Qt::CTRL | Qt::Key_P)},
              &MainWindow::ShowOptions)
        ->setIcon(MakeIcon(IconId::Options));
    AddAction(options, QStringLiteral("AddMusicItem"), QStringLiteral("Add &Music"),
              {QKeySequence(Qt::CTRL | Qt::Key_M)}, &MainWindow::AddMusic)
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
              &MainWindow::ShowHelp)
        ->setIcon(MakeIcon(IconId::Help));
    QAction *support = AddAction(help, QStringLiteral("SupportItem"), QStringLiteral("&Technical Support"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_F1)}, nullptr);
    connect(support, &QAction::triggered, this, [this] { OpenLink(QUrl(QLatin1String(kSupportMail))); });
    AddAction(help, QStringLiteral("DemoItem"), QStringLiteral("Play &Demo Show"), {}, &MainWindow::PlayDemo)
        ->setIcon(MakeIcon(IconId::Play));
    help->addSeparator();
    AddAction(help, QStringLiteral("AboutItem"), QStringLiteral("&About"), {}, &MainWindow::ShowAbout)
        ->setIcon(MakeIcon(IconId::About));
}

void MainWindow::BuildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    AddToolAction(bar, QStringLiteral("ToolButton17"), QStringLiteral("Play Now"), IconId::Play, &MainWindow::PlayNow);
    bar->addSeparator();
    AddToolAction(bar, QStringLiteral("NewProject"), QStringLiteral("New Project"), IconId::NewProject,
                  &MainWindow::NewProject);
    AddToolAction(bar, QStringLiteral("Open"), QStringLiteral("Open"), IconId::Open, &MainWindow::OpenProject);
    AddToolAction(bar, QStringLiteral("Save"), QStringLiteral("Save"), IconId::Save, &MainWindow::SaveProject);
    AddToolAction(bar, QStringLiteral("SaveAs"), QStringLiteral("Save As..."), IconId::SaveAs,
                  &MainWindow::SaveProjectAs);
    AddToolAction(bar, QStringLiteral("MakeExe"), QStringLiteral("Make EXE"), IconId::MakeShow,
                  &MainWindow::MakeSlideShow);
    bar->addSeparator();
    AddToolAction(bar, QStringLiteral("Options"), QStringLiteral("Options"), IconId::Options, &MainWindow::ShowOptions);
    AddToolAction(bar, QStringLiteral("Help"), QStringLiteral("Help"), IconId::Help, &MainWindow::ShowHelp);
    QAction *exit = bar->addAction(MakeIcon(IconId::Exit), QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    SetToolTips(bar);
    new ToolBarFitter(bar, QSize(65, 52));
}

void MainWindow::SetToolTips(QToolBar *bar)
{
    // What a button does, with the key that does the same from anywhere in the window.
    static const struct
    {
        const char *name;
        const char *tip;
    } kTips[] = {
        {"ToolButton17", "Play the show full screen (F5)"},
        {"NewProject", "Start a new, empty project (Ctrl+N)"},
        {"Open", "Open a project (Ctrl+O)"},
        {"Save", "Save the project (Ctrl+S)"},
        {"SaveAs", "Save the project under a new name (Ctrl+Shift+S)"},
        {"MakeExe", "Build the show into one self-running program"},
        {"Options", "How the show runs, its music and transitions (Ctrl+P)"},
        {"Help", "Open the help guide (F1)"},
        {"Exit", "Close Lumetta (F10, Ctrl+Q)"},
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

QWidget *MainWindow::BuildLeftPanel()
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
    volumes_ = new VolumeSelector(bar);
    volumes_->setObjectName(QStringLiteral("DirBox"));
    volumes_->setToolTip(QStringLiteral("Volume"));
    barLayout->addWidget(up);
    barLayout->addWidget(volumes_, 1);

    fileList_ = new FileListView(panel);
    fileList_->setObjectName(QStringLiteral("FLB"));
    fileList_->SetShowColumnHeaders(false);
    for (int column = 1; column < fileList_->columnCount(); ++column)
        fileList_->setColumnHidden(column, true);
    fileList_->SetContextMenu(true);
    fileList_->SetContextAction(false);
    // Dot files are configuration, not pictures: they stay out of the list.
    fileList_->SetFileType(FileTypes(NormalFiles | ReadOnlyFiles | SystemFiles | ArchiveFiles));
    fileList_->SetMask(AcceptedPictureMask());
    fileList_->SetThumbnails(thumbnails_);

    connect(up, &QToolButton::clicked, fileList_, &FileListView::GoUp);
    connect(volumes_, &VolumeSelector::Changed, this, [this] { ShowFolder(volumes_->Drive()); });
    connect(fileList_, &FileListView::Clicked, this, &MainWindow::ShowClickedFile);
    connect(fileList_, &FileListView::DoubleClicked, this, &MainWindow::AddPictures);

    // The drive selector names only the volume: this line tells which folder is listed.
    folderLabel_ = new ElidedLabel(panel);
    folderLabel_->setObjectName(QStringLiteral("FolderLabel"));
    folderLabel_->setContentsMargins(4, 2, 4, 2);
    connect(fileList_, &FileListView::DirectoryChanged, this, &MainWindow::RefreshFolderLabel);
    connect(fileList_, &FileListView::DirectoryChanged, this, &MainWindow::RefreshFileMarks);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(folderLabel_);
    layout->addWidget(fileList_, 1);
    RefreshFolderLabel();
    return panel;
}

QWidget *MainWindow::BuildRightPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("RightPanel"));
    QToolBar *bar = BuildPictureToolBar(panel);
    BuildPreviewPane(panel);
    BuildPictureList(panel);

    slidePanel_ = new SlidePanel(panel);
    connect(slidePanel_, &SlidePanel::Edited, this, &MainWindow::ApplySlideEdit);
    connect(slidePanel_, &SlidePanel::FitToMusicChanged, this,
            [this](bool fit) { editor_->SetFitToMusic(fit, CurrentSelection()); });
    connect(slidePanel_, &SlidePanel::GentleMotionChanged, this,
            [this](bool gentle) { editor_->SetGentleMotion(gentle, CurrentSelection()); });
    connect(slidePanel_, &SlidePanel::PlayMotionAsked, this, &MainWindow::PlaySlideMotion);
    listSplitter_ = new QSplitter(Qt::Horizontal, panel);
    listSplitter_->setObjectName(QStringLiteral("ListSplitter"));
    // Scrolled, so the panel's fields never make the window larger than a small screen.
    auto *slideScroll = new QScrollArea(panel);
    slideScroll->setObjectName(QStringLiteral("SlideScroll"));
    slideScroll->setWidget(slidePanel_);
    slideScroll->setWidgetResizable(true);
    slideScroll->setFrameShape(QFrame::NoFrame);
    listSplitter_->addWidget(pictureList_);
    listSplitter_->addWidget(slideScroll);
    listSplitter_->setCollapsible(0, false);
    listSplitter_->setStretchFactor(0, 1);

    rightSplitter_ = new QSplitter(Qt::Vertical, panel);
    rightSplitter_->setObjectName(QStringLiteral("Splitter2"));
    rightSplitter_->addWidget(preview_);
    rightSplitter_->addWidget(listSplitter_);
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

QToolBar *MainWindow::BuildPictureToolBar(QWidget *panel)
{
    auto *bar = new QToolBar(panel);
    bar->setObjectName(QStringLiteral("ToolBar2"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *add = bar->addAction(MakeIcon(IconId::Add), QStringLiteral("Add"));
    add->setObjectName(QStringLiteral("Add"));
    connect(add, &QAction::triggered, this, &MainWindow::AddPictures);
    QAction *addAll = bar->addAction(MakeIcon(IconId::AddAll), QStringLiteral("Add All"));
    addAll->setObjectName(QStringLiteral("AddAll"));
    connect(addAll, &QAction::triggered, this, &MainWindow::AddAllPictures);
    bar->addSeparator();
    QAction *remove = bar->addAction(MakeIcon(IconId::Remove), QStringLiteral("Remove"));
    remove->setObjectName(QStringLiteral("Remove"));
    connect(remove, &QAction::triggered, this, &MainWindow::RemovePictures);
    QAction *clear = bar->addAction(MakeIcon(IconId::Clear), QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear"));
    connect(clear, &QAction::triggered, this, &MainWindow::ClearPictures);
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
    SetToolTips(bar);
    previewButton_->setToolTip(QStringLiteral("Show or hide the preview"));
    new ToolBarFitter(bar, QSize(67, 0));
    return bar;
}

void MainWindow::BuildPreviewPane(QWidget *panel)
{
    preview_ = new PreviewPane(panel);
    preview_->setObjectName(QStringLiteral("PrePanel"));
    preview_->setMinimumHeight(0);
    preview_->setAutoFillBackground(true);
    QPalette backdrop = preview_->palette();
    backdrop.setColor(QPalette::Window, QColor(0x3A, 0x3D, 0x42));
    preview_->setPalette(backdrop);
    connect(preview_->Overlay(), &MotionOverlay::Edited, this, [this](const SlideMotion &motion, int gesture) {
        SlideEdit edit{SlideEdit::Field::Motion};
        edit.motion = motion;
        edit.number = gesture;
        ApplySlideEdit(edit);
    });
}

void MainWindow::BuildPictureList(QWidget *panel)
{
    pictureModel_ = new PictureListModel(thumbnails_, this);
    pictureList_ = new PictureListView(panel);
    pictureList_->setObjectName(QStringLiteral("ListBox1"));
    pictureList_->setModel(pictureModel_);
    pictureList_->setItemDelegate(new PictureListDelegate(*thumbnails_, pictureList_));
    pictureList_->setUniformItemSizes(true);
    pictureList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pictureList_->setAlternatingRowColors(true);
    connect(pictureList_, &PictureListView::UrlsDropped, this, &MainWindow::AddDroppedPictures);
    connect(pictureList_, &PictureListView::RowsDropped, this,
            [this](const QList<int> &rows, int row) { editor_->MovePictures(rows, row, CurrentSelection()); });
    connect(pictureList_, &QListView::clicked, this, &MainWindow::ShowSelectedPicture);
    connect(pictureList_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!quietSelection_)
            ShowSelectedPicture();
    });
    connect(pictureList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!quietSelection_)
            RefreshSlideDetails();
    });
}

void MainWindow::BuildWindow()
{
    RefreshTitles();
    // A folder that cannot be written is reported when the close request writes the lists.
    firstStart_ = !QFileInfo::exists(listFiles_.PathOf(ListFiles::kResumeFile));
    listFiles_.CreateMissing();
    resumeList_ = listFiles_.ReadResume();
    SetPreviewShown(!resumeList_.isEmpty() && resumeList_[0] == QLatin1String("Pre"));
    recent_.Load(listFiles_.ReadRecentFolders());
    recent_.FillMenu(recentMenu_, [this](const QString &folder) { ShowFolder(folder); });
    recentProjects_.Load();
    FillRecentProjectsMenu();
}

void MainWindow::OnActivated()
{
    startDir_ = listFiles_.ReadStartDir();
    if (activated_)
        return;
    activated_ = true;
    ShowFolder(StartFolder(startDir_));
    if (!startupFile_.isEmpty()) {
        OpenProjectFile(startupFile_);
    } else if (resumeList_.size() >= 2 && resumeList_[1] != QLatin1String("No") && !resumeList_[1].isEmpty()) {
        if (project_.Reopen(resumeList_[1], *dialogs_) == ShowProject::Outcome::Done)
            AfterProjectLoaded();
    } else if (firstStart_ && QFileInfo::exists(InstalledFiles::ForThisProgram().DemoShow())
               && dialogs_->AskPlayDemo()) {
        // After the activation, which the show's own window would interrupt.
        QTimer::singleShot(0, this, &MainWindow::PlayDemo);
    }
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        OnActivated();
    else if (event->type() == QEvent::WindowUnblocked && isVisible())
        // Without a window manager nothing hands the activation back after a dialog, and the
        // window's keys would stop working.
        activateWindow();
    else if (event->type() == QEvent::Show && !activated_)
        QTimer::singleShot(0, this, [this] {
            if (!activated_ && isVisible())
                OnActivated();
        });
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (ConfirmClose())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::ConfirmClose()
{
    startDir_ = QStringList{fileList_->Directory()};
    try {
        listFiles_.WriteStartDir(startDir_);
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
    resumeList_ = {PreviewShown() ? QStringLiteral("Pre") : QStringLiteral("Not"), project_.ResumeEntry()};
    try {
        listFiles_.WriteResume(resumeList_);
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
    const bool closes = project_.ConfirmClose(*dialogs_);
    editor_->Sync();
    if (closes && !project_.SaveTarget().isEmpty() && !project_.Modified())
        RememberProject(project_.SaveTarget());
    return closes;
}

void MainWindow::PlayNow()
{
    Play(project_);
}

void MainWindow::Play(ShowProject &show)
{
    // The show plays on the screen chosen in the options when it is connected, else where the
    // user works: on the screen this window is on.
    QScreen *chosen = ScreenByName(playPreferences_.ScreenName());
    player_->SetScreen(chosen ? chosen : screen());
    if (player_->PlayNow(show) == PlayerWindow::StartResult::Failed)
        Report(player_->ErrorText());
}

void MainWindow::ShowOptions()
{
    OpenOptions(int(OptionsDialog::Page::Main));
}

void MainWindow::AddMusic()
{
    OpenOptions(int(OptionsDialog::Page::Music));
}

void MainWindow::OpenOptions(int page)
{
    const ProjectState before = editor_->Current(CurrentSelection());
    options_->Open(OptionsDialog::Page(page));
    editor_->RecordOptions(before);
}

void MainWindow::MakeSlideShow()
{
    SaveProject();
    buildShow_->exec();
}

void MainWindow::ExportVideo()
{
    if (!exportVideo_)
        exportVideo_ = new ExportVideoDialog(project_, this);
    exportVideo_->exec();
}

void MainWindow::MakeWebShow()
{
    if (!makeWebShow_)
        makeWebShow_ = new MakeWebShowDialog(project_, this);
    makeWebShow_->exec();
}

void MainWindow::Report(const QString &message)
{
    dialogs_->ShowError(message);
}

void MainWindow::RefreshCounter()
{
    statusText_->setText(QStringLiteral("Counter: %1").arg(project_.Pictures().size()));
}

void MainWindow::RefreshTitles()
{
    setWindowTitle(project_.Modified() ? project_.Caption() + QLatin1String(" *") : project_.Caption());
    setWindowIconText(project_.ApplicationTitle());
}

void MainWindow::SelectFirstPicture()
{
    if (project_.Pictures().isEmpty())
        return;
    quietSelection_ = true;
    pictureList_->selectionModel()->setCurrentIndex(pictureModel_->index(0), QItemSelectionModel::ClearAndSelect);
    quietSelection_ = false;
    ShowSelectedPicture();
    RefreshSlideDetails();
}

void MainWindow::RefreshFolderLabel()
{
    const QString folder = fileList_->Directory();
    folderLabel_->SetFullText(IsDrivesDirectory(folder) ? QStringLiteral("Volumes") : folder);
}

QString MainWindow::FolderText() const
{
    return folderLabel_->FullText();
}

void MainWindow::ShowFolder(const QString &folder)
{
    fileList_->SetDirectory(folder);
}

void MainWindow::LoadPreview(const QString &path)
{
    // Browsing is not interrupted: a file that cannot be shown says why inside the pane.
    preview_->ShowFile(path);
}

void MainWindow::ShowSelectedPicture()
{
    if (!PreviewShown() || !pictureList_->selectionModel()->hasSelection())
        return;
    const int row = pictureList_->currentIndex().row();
    if (row >= 0 && row < project_.Pictures().size())
        LoadPreview(project_.Pictures()[row]);
}

void MainWindow::ShowClickedFile()
{
    pictureList_->clearSelection();
    if (!PreviewShown())
        return;
    const QString path = fileList_->CurrentFile();
    if (IsPictureFileName(QFileInfo(path).fileName()))
        LoadPreview(path);
}

void MainWindow::RememberFolder(const QString &folder)
{
    if (!recent_.Add(folder))
        return;
    try {
        listFiles_.WriteRecentFolders(recent_.Folders());
    } catch (const ProjectError &error) {
        Report(error.Message());
    }
}

void MainWindow::AddFromFileList(bool selectedOnly)
{
    const QString folder = fileList_->Directory();
    QStringList paths;
    QStringList refusals;
    for (int i = 0; i < fileList_->AllCount(); ++i) {
        if ((selectedOnly && !fileList_->IsItemSelected(i)) || !fileList_->IsItemFile(i))
            continue;
        const QString name = fileList_->ItemFileName(i);
        if (const QString refusal = AddRefusal(name); !refusal.isEmpty()) {
            refusals.append(refusal);
            continue;
        }
        paths.append(folder + name);
    }
    if (!refusals.isEmpty()) {
        const QString more =
            refusals.size() > 1 ? QStringLiteral(" (and %1 more)").arg(refusals.size() - 1) : QString();
        statusBar()->showMessage(refusals.first() + more, 10000);
    }
    if (!paths.isEmpty()) {
        RememberFolder(folder);
        editor_->InsertPictures(paths, -1, CurrentSelection(), false);
    }
    if (!project_.Pictures().isEmpty() && !preview_->HasPicture())
        SelectFirstPicture();
    RefreshCounter();
}

void MainWindow::AddDroppedPictures(const QList<QUrl> &urls, int row)
{
    const QStringList paths = DroppedFiles::Pictures(urls);
    if (!editor_->InsertPictures(paths, row, CurrentSelection(), true))
        return;
    if (!preview_->HasPicture())
        ShowSelectedPicture();
    RefreshCounter();
}

void MainWindow::AddPictures()
{
    AddFromFileList(true);
}

void MainWindow::AddAllPictures()
{
    AddFromFileList(false);
}

PictureSelection MainWindow::CurrentSelection() const
{
    return PictureSelection{pictureList_->SelectedRows(), pictureList_->currentIndex().row()};
}

void MainWindow::RefreshFileMarks()
{
    const QSet<QString> listed(project_.Pictures().cbegin(), project_.Pictures().cend());
    for (int i = 0; i < fileList_->AllCount(); ++i)
        if (fileList_->IsItemFile(i))
            fileList_->SetItemGhosted(i, listed.contains(fileList_->ItemPath(i)));
}

void MainWindow::ShowEdited(const ProjectState &state)
{
    quietSelection_ = true;
    pictureModel_->SetPictures(state.pictures);
    QItemSelection selection;
    for (int row : state.selection.rows)
        selection.select(pictureModel_->index(row), pictureModel_->index(row));
    QItemSelectionModel *selectionModel = pictureList_->selectionModel();
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = pictureModel_->index(state.selection.current);
    selectionModel->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    quietSelection_ = false;
    if (current.isValid())
        pictureList_->scrollTo(current);
    RefreshCounter();
    RefreshFileMarks();
    RefreshSlideDetails();
}

void MainWindow::RefreshSlideDetails()
{
    const ShowStory &story = project_.Story();
    QStringList summaries;
    for (int i = 0; i < story.SlideCount(); ++i)
        summaries << SlideDetailsSummary(story.Slide(i));
    pictureModel_->SetDetails(summaries);
    const PictureSelection selection = CurrentSelection();
    QList<int> rows = selection.rows;
    std::sort(rows.begin(), rows.end());
    const int first = rows.isEmpty() ? -1 : rows.first();
    slidePanel_->ShowSlides(int(rows.size()), story.Slide(first), story.FitToMusic(),
                            project_.Settings().AdvanceSeconds().value_or(SlidePanel::kManualShowSeconds),
                            story.GentleMotion());
    // The preview shows the caption and the motion of the picture it shows.
    const int shown = selection.current >= 0 ? selection.current : first;
    preview_->SetCaption(rows.isEmpty() ? StoryCaption() : story.Slide(shown).caption);
    preview_->SetMotion(rows.isEmpty() ? std::nullopt : story.Slide(shown).motion);
}

void MainWindow::ApplySlideEdit(const SlideEdit &edit)
{
    editor_->ChangeSlides(
        CurrentSelection().rows, [&edit](SlideDetails &details) { edit.ApplyTo(details); }, CurrentSelection(),
        edit.UndoText(), edit.MergeKey());
}

void MainWindow::PlaySlideMotion()
{
    const PictureSelection selection = CurrentSelection();
    const int shown = selection.current >= 0 ? selection.current : (selection.rows.isEmpty() ? -1 : selection.rows.first());
    const std::optional<SlideMotion> &motion = project_.Story().Slide(shown).motion;
    if (shown < 0 || !motion)
        return;
    // As long as the slide shows in the show.
    const std::int64_t intervalMs = std::int64_t(project_.Settings().AdvanceSeconds().value_or(0)) * 1000;
    const std::int64_t durationMs = project_.Story().DurationMs(shown, intervalMs);
    preview_->PlayMotion(*motion, durationMs > 0 ? double(durationMs) : SlideMotion::kUntimedMs);
}

void MainWindow::EditSlideDetails()
{
    if (!pictureList_->selectionModel()->hasSelection() && !project_.Pictures().isEmpty())
        SelectFirstPicture();
    slidePanel_->CaptionText()->setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::AfterProjectLoaded()
{
    editor_->Restart();
    quietSelection_ = true;
    pictureModel_->SetPictures(project_.Pictures());
    quietSelection_ = false;
    RefreshCounter();
    RefreshFileMarks();
    RefreshTitles();
    SelectFirstPicture();
    RefreshSlideDetails();
    RememberProject(project_.SaveTarget());
}

QString MainWindow::ProjectDialogFolder() const
{
    return projectFolder_.isEmpty() ? fileList_->Directory() : projectFolder_;
}

void MainWindow::RememberProject(const QString &path)
{
    if (path.isEmpty())
        return;
    projectFolder_ = QFileInfo(path).absolutePath();
    // The desktop's recent files show it too; failing that loses only a convenience, silently.
    DesktopRecentFiles().Add(QFileInfo(path).absoluteFilePath(), QStringLiteral("application/x-lumetta-show"));
    try {
        recentProjects_.Add(QFileInfo(path).absoluteFilePath());
    } catch (const ProjectError &error) {
        // Only a convenience is lost: said in passing, not in a box.
        statusBar()->showMessage(error.Message(), 10000);
    }
}

void MainWindow::FillRecentProjectsMenu()
{
    recentProjectsMenu_->clear();
    const QStringList &paths = recentProjects_.Paths();
    if (paths.isEmpty()) {
        recentProjectsMenu_->addAction(QStringLiteral("Empty"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        const bool exists = QFileInfo(path).isFile();
        QString text = QString(path).replace(QLatin1Char('&'), QLatin1String("&&"));
        if (i < 9)
            text = QStringLiteral("&%1 ").arg(i + 1) + text;
        if (!exists)
            text += QLatin1String(" (missing)");
        QAction *action = recentProjectsMenu_->addAction(text);
        action->setEnabled(exists);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { OpenProjectFile(path); });
    }
}

void MainWindow::NewProject()
{
    const ShowProject::Outcome outcome = project_.New(*dialogs_);
    editor_->Sync();
    if (outcome != ShowProject::Outcome::Done)
        return;
    editor_->Restart();
    preview_->Clear();
    pictureModel_->SetPictures(project_.Pictures());
    RefreshTitles();
    RefreshCounter();
    RefreshFileMarks();
    RefreshSlideDetails();
}

void MainWindow::OpenProject()
{
    const ShowProject::Outcome outcome = project_.Open(*dialogs_);
    editor_->Sync();
    if (outcome == ShowProject::Outcome::Done)
        AfterProjectLoaded();
}

void MainWindow::OpenProjectFile(const QString &path)
{
    const ShowProject::Outcome outcome = project_.OpenPath(path, *dialogs_);
    editor_->Sync();
    if (outcome == ShowProject::Outcome::Done)
        AfterProjectLoaded();
}

void MainWindow::SaveProject()
{
    const ShowProject::Outcome outcome = project_.Save(*dialogs_);
    editor_->Sync();
    if (outcome == ShowProject::Outcome::Done)
        RememberProject(project_.SaveTarget());
    RefreshTitles();
}

void MainWindow::SaveProjectAs()
{
    const ShowProject::Outcome outcome = project_.SaveAs(*dialogs_);
    editor_->Sync();
    if (outcome == ShowProject::Outcome::Done)
        RememberProject(project_.SaveTarget());
    RefreshTitles();
}

void MainWindow::RemovePictures()
{
    editor_->RemovePictures(CurrentSelection());
    RefreshCounter();
}

void MainWindow::ClearPictures()
{
    editor_->ClearPictures(CurrentSelection());
    RefreshCounter();
    preview_->Clear();
}

void MainWindow::ArrowClicked(bool upArrow)
{
    const int direction = arrows_.Click(upArrow);
    if (direction != 0)
        editor_->ExchangeCurrent(direction, CurrentSelection());
}

void MainWindow::MoveSelectedUp()
{
    editor_->MoveSelected(-1, CurrentSelection());
}

void MainWindow::MoveSelectedDown()
{
    editor_->MoveSelected(1, CurrentSelection());
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (DroppedFiles::Project(urls).isEmpty() && DroppedFiles::Pictures(urls).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // A project file opens (with the save question first); pictures go to the end of the list.
    if (const QString project = DroppedFiles::Project(urls); !project.isEmpty())
        OpenProjectFile(project);
    else
        AddDroppedPictures(urls, -1);
}

bool MainWindow::PreviewShown() const
{
    return previewButton_->isChecked();
}

void MainWindow::SetPreviewShown(bool shown)
{
    previewButton_->setChecked(shown);
    preview_->setVisible(shown);
}

void MainWindow::TogglePreview()
{
    const int row = pictureList_->currentIndex().row();
    if (!project_.Pictures().isEmpty())
        LoadPreview(project_.Pictures()[std::max(0, row)]);
    SetPreviewShown(!PreviewShown());
}

QString MainWindow::StatusText() const
{
    return statusText_->text();
}

QString MainWindow::HelpFilePath()
{
    return InstalledFiles::ForThisProgram().HelpGuide();
}

void MainWindow::ShowHelp()
{
    const QString path = HelpFilePath();
    if (!QFileInfo::exists(path)) {
        Report(QStringLiteral("Cannot open the help guide %1: the file does not exist").arg(path));
        return;
    }
    if (HelpWindow::DesktopOpensHtml() && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(this);
    if (!helpWindow_->ShowGuide(path)) {
        Report(QStringLiteral("Cannot open the help guide %1: the file cannot be read").arg(path));
        return;
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void MainWindow::PlayDemo()
{
    const QString path = InstalledFiles::ForThisProgram().DemoShow();
    ShowProject demo;
    if (demo.OpenPath(path, *dialogs_) == ShowProject::Outcome::Done)
        Play(demo);
}

void MainWindow::OpenLink(const QUrl &url)
{
    // The desktop only writes a warning on the terminal when it has no program for a link.
    if (!QDesktopServices::openUrl(url))
        Report(QStringLiteral("Cannot open %1: the desktop has no program set up to show it")
                   .arg(url.isLocalFile() ? url.toLocalFile() : url.toString()));
}

void MainWindow::ShowAbout()
{
    about_->exec();
}

}  // namespace lumetta
