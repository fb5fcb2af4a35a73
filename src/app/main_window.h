// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/picture_list_model.h"
#include "app/project_editor.h"
#include "app/recent_projects.h"
#include "browse/recent_folders.h"
#include "dialogs/icons.h"
#include "show/list_files.h"
#include "show/play_preferences.h"
#include "show/show_project.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class QUrl;

namespace lumetta {

class PreviewPane;
class PictureListView;
class ThumbnailLoader;
class AboutDialog;
class EffectSelectionDialog;
class OptionsDialog;
class FileListView;
class VolumeSelector;
class BuildShowDialog;
class ExportVideoDialog;
class MakeWebShowDialog;
class PlayerWindow;
class HelpWindow;
class SlidePanel;
struct SlideEdit;

// The editor's main window: the show being edited, its commands, the list files and the
// panels for browsing, previewing and ordering pictures.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // DIALOGS answers the project commands' questions; nullptr uses the window's own dialogs.
    explicit MainWindow(const ListFiles &listFiles = ListFiles(), ProjectDialogs *dialogs = nullptr,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    ShowProject &Project() { return project_; }
    ProjectEditor &Editor() { return *editor_; }

    // Opens PATH at the first activation instead of reopening the last project.
    void SetStartupFile(const QString &path);

    // The commands of the menus and tool bars.
    // Play Now: plays the show full screen; returns when it has ended.
    void PlayNow();
    // The builder command: saves the project, then asks for and makes a standalone show.
    void MakeSlideShow();
    void ExportVideo();
    void MakeWebShow();
    void NewProject();
    void OpenProject();
    void SaveProject();
    void SaveProjectAs();
    // Opens PATH as Open does after its dialog (a recent project, a file dropped on the window).
    void OpenProjectFile(const QString &path);
    void AddPictures();
    void AddAllPictures();
    void RemovePictures();
    void ClearPictures();
    void ArrowClicked(bool upArrow);
    // Ctrl+Up and Ctrl+Down: every selected picture one place up or down.
    void MoveSelectedUp();
    void MoveSelectedDown();
    // Ctrl+E: to the slide panel's caption, for the selected slides.
    void EditSlideDetails();
    void TogglePreview();
    // The options dialog on its "Main" or "Music" page; afterwards the project counts as modified.
    void ShowOptions();
    void AddMusic();
    // The guide with the desktop's program for HTML pages, else in a window of ours.
    void ShowHelp();
    void ShowAbout();
    // Plays the demo show that comes with the program.
    void PlayDemo();

    // Activation work: reads the start folder; the first time also reopens the last project.
    void OnActivated();

    bool PreviewShown() const;
    QString StatusText() const;
    // Where the Open and Save As dialogs start: the folder of the last project really read or
    // written (a folder where that failed may block on reading), else the file list's folder.
    QString ProjectDialogFolder() const;
    // The folder the file list shows, as the line above it names it ("Volumes" for the volume list).
    QString FolderText() const;
    PictureListView *PictureList() const { return pictureList_; }
    ThumbnailLoader *Thumbnails() const { return thumbnails_; }
    const RecentProjects &RecentProjectFiles() const { return recentProjects_; }
    FileListView *FileList() const { return fileList_; }
    PreviewPane *Preview() const { return preview_; }
    SlidePanel *Slides() const { return slidePanel_; }
    OptionsDialog *Options() const { return options_; }
    EffectSelectionDialog *EffectSelection() const { return effectSelection_; }
    const RecentFolders &Recent() const { return recent_; }
    // The help guide installed with the program.
    static QString HelpFilePath();
    // The guide's own window, once it has been needed.
    HelpWindow *Help() const { return helpWindow_; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    class WindowDialogs;
    class ElidedLabel;

    QAction *AddAction(QMenu *menu, const QString &objectName, const QString &text, const QList<QKeySequence> &keys,
                       void (MainWindow::*slot)());
    QAction *AddToolAction(QToolBar *bar, const QString &objectName, const QString &text, IconId icon,
                           void (MainWindow::*slot)());
    void BuildMenus();
    void BuildToolBar();
    void SetToolTips(QToolBar *bar);
    QWidget *BuildLeftPanel();
    // The right panel: the picture tool bar above the preview and the picture list.
    QWidget *BuildRightPanel();
    QToolBar *BuildPictureToolBar(QWidget *panel);
    void BuildPreviewPane(QWidget *panel);
    void BuildPictureList(QWidget *panel);
    void BuildWindow();
    bool ConfirmClose();

    void AfterProjectLoaded();
    void RememberProject(const QString &path);
    void FillRecentProjectsMenu();
    PictureSelection CurrentSelection() const;
    void ShowEdited(const ProjectState &state);
    void AddDroppedPictures(const QList<QUrl> &urls, int row);
    void RefreshCounter();
    // The slide panel and the list's marks follow the selection and the slides' details.
    void RefreshSlideDetails();
    void ApplySlideEdit(const SlideEdit &edit);
    // Plays the motion of the slide the preview shows, over its time in the show.
    void PlaySlideMotion();
    // The folder panel marks the files that are in the picture list.
    void RefreshFileMarks();
    void RefreshTitles();
    void SelectFirstPicture();
    void AddFromFileList(bool selectedOnly);
    void RememberFolder(const QString &folder);
    void OpenOptions(int page);
    void ShowSelectedPicture();
    void ShowClickedFile();
    void LoadPreview(const QString &path);
    void ShowFolder(const QString &folder);
    void RefreshFolderLabel();
    void SetPreviewShown(bool shown);
    void Report(const QString &message);
    // Plays SHOW full screen on the chosen screen; returns when it has ended.
    void Play(ShowProject &show);
    // Opens URL with the desktop's program for it; reports when there is none.
    void OpenLink(const QUrl &url);

    ListFiles listFiles_;
    PlayPreferences playPreferences_;
    ShowProject project_;
    std::unique_ptr<WindowDialogs> ownDialogs_;
    ProjectDialogs *dialogs_ = nullptr;

    ProjectEditor *editor_ = nullptr;
    ThumbnailLoader *thumbnails_ = nullptr;
    PictureListModel *pictureModel_ = nullptr;
    PictureListView *pictureList_ = nullptr;
    PreviewPane *preview_ = nullptr;
    SlidePanel *slidePanel_ = nullptr;
    QSplitter *listSplitter_ = nullptr;
    FileListView *fileList_ = nullptr;
    VolumeSelector *volumes_ = nullptr;
    QMenu *recentMenu_ = nullptr;
    QMenu *recentProjectsMenu_ = nullptr;
    QSplitter *rightSplitter_ = nullptr;
    QSplitter *mainSplitter_ = nullptr;
    QToolButton *previewButton_ = nullptr;
    QLabel *statusText_ = nullptr;
    ElidedLabel *folderLabel_ = nullptr;
    AboutDialog *about_ = nullptr;
    PlayerWindow *player_ = nullptr;
    OptionsDialog *options_ = nullptr;
    EffectSelectionDialog *effectSelection_ = nullptr;
    BuildShowDialog *buildShow_ = nullptr;
    HelpWindow *helpWindow_ = nullptr;
    ExportVideoDialog *exportVideo_ = nullptr;
    MakeWebShowDialog *makeWebShow_ = nullptr;

    QStringList resumeList_;  // resume list: "Pre"/"Not", project to reopen
    QStringList startDir_;  // start folder
    QString startupFile_;
    QString projectFolder_;
    RecentFolders recent_;
    RecentProjects recentProjects_;
    UpDownArrows arrows_;
    bool quietSelection_ = false;  // selection changes made by the program show nothing
    bool activated_ = false;
    bool firstStart_ = false;  // no list files yet: the demo show is offered
};

}  // namespace lumetta
