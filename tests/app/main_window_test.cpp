// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/picture_list_view.h"
#include "common/installed_files.h"
#include "dialogs/build_show_dialog.h"

#include "browse/file_list_view.h"
#include "browse/preview_pane.h"
#include "browse/volume_selector.h"
#include "show/project_file.h"
#include "support/file_bytes.h"
#include "support/form_object_names.h"
#include "support/qstring_print.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <memory>

namespace lumetta {
using namespace lumetta::object_names;

namespace {

using testfiles::ReadBytes;

using Answer = ProjectDialogs::Answer;

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { lists_ = std::make_unique<ListFiles>(dir_.filePath("config")); }

    // The window as the program starts it, with the test answering every dialog.
    MainWindow &Start()
    {
        window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
        Show();
        return *window_;
    }

    void Show()
    {
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->OnActivated();
    }

    QString MakeProject(const QString &name, int pictures)
    {
        QStringList paths;
        for (int i = 0; i < pictures; ++i)
            paths << QStringLiteral("/pictures/p%1.jpg").arg(i);
        const QString path = dir_.filePath(name);
        WriteTextFile(path, BuildProjectText(ShowSettings(), paths, {"1", "2"}, {}));
        return path;
    }

    void OpenProject(const QString &path)
    {
        dialogs_.openAnswers = {path};
        QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
    }

    QStringList ListedPictures() const
    {
        QStringList shown;
        QAbstractItemModel *model = window_->PictureList()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 0).data(PictureListModel::PathRole).toString();
        return shown;
    }

    QList<int> SelectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : window_->PictureList()->selectionModel()->selectedIndexes())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QListView *view = window_->PictureList();
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    // A folder of files: real pictures for BMP and JPEG names, empty files for the others.
    QString MakeFolder(const QString &name, const QStringList &files)
    {
        QDir(dir_.path()).mkpath(name);
        const QString folder = dir_.filePath(name) + "/";
        for (const QString &file : files) {
            const QString path = folder + file;
            const QString suffix = QFileInfo(file).suffix().toLower();
            if (suffix == "bmp" || suffix == "jpg") {
                QImage image(64, 48, QImage::Format_RGB32);
                image.fill(Qt::darkCyan);
                EXPECT_TRUE(image.save(path, suffix == "jpg" ? "JPG" : "BMP")) << path.toStdString();
            } else {
                QFile touch(path);
                EXPECT_TRUE(touch.open(QIODevice::WriteOnly));
            }
        }
        return folder;
    }

    // Starts the window showing FOLDER in the file list.
    MainWindow &StartIn(const QString &folder)
    {
        lists_->WriteStartDir({folder});
        return Start();
    }

    FileListView *Files() const { return window_->FileList(); }

    int ItemNamed(const QString &name) const
    {
        for (int i = 0; i < Files()->AllCount(); ++i)
            if (Files()->ItemFileName(i) == name)
                return i;
        return -1;
    }

    void SelectFiles(const QStringList &names)
    {
        Files()->clearSelection();
        for (const QString &name : names) {
            const int i = ItemNamed(name);
            ASSERT_GE(i, 0) << name.toStdString();
            Files()->topLevelItem(i)->setSelected(true);
        }
    }

    QToolButton *Button(const char *name) const { return window_->findChild<QToolButton *>(QLatin1String(name)); }

    QTemporaryDir dir_;
    std::unique_ptr<ListFiles> lists_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartsWithItsTitlesStatusAndFirstRunListFiles)
{
    MainWindow &w = Start();
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP 3.51"));
    EXPECT_EQ(w.windowIconText(), QLatin1String("Lumetta XP"));
    EXPECT_EQ(w.StatusText(), QLatin1String("Use double click in order to add pictures"));
    EXPECT_TRUE(w.PreviewShown());
    EXPECT_EQ(ReadBytes(lists_->PathOf(ListFiles::kResumeFile)), QByteArray("Pre\r\nNo\r\n"));
    EXPECT_EQ(ReadBytes(lists_->PathOf(ListFiles::kRecentFile)), QByteArray("Empty\r\n"));
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(MainWindowTest, MenuItemsCarryTheirKeys)
{
    MainWindow &w = Start();
    const struct
    {
        const char *name;
        const char *text;
        QKeySequence key;
    } items[] = {
        {"PlayNowItem", "Play Now", QKeySequence(Qt::Key_F5)},
        {"NewItem", "New ...", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"OpenItem", "Open ...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"SaveItem", "Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"SaveAsItem", "Save As ...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"MakeExeItem", "Make slide-show (.EXE) ...", QKeySequence()},
        {"ExitItem", "Exit\tF10, Ctrl+Q", QKeySequence(Qt::Key_F10)},
        {"RemoveItem", "Remove", QKeySequence(Qt::Key_Delete)},
        {"ClearItem", "Clear", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"HelpItem", "Help", QKeySequence(Qt::Key_F1)},
        {"SupportItem", "Technical Support", QKeySequence(Qt::CTRL | Qt::Key_F1)},
        {"AboutItem", "About", QKeySequence()},
        {"OptionsItem", "Options", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"AddMusicItem", "Add Music", QKeySequence(Qt::CTRL | Qt::Key_M)},
    };
    for (const auto &item : items) {
        auto *action = w.findChild<QAction *>(QLatin1String(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text().remove(u'&'), QLatin1String(item.text)) << item.name;
        EXPECT_EQ(action->shortcut(), item.key) << item.name;
    }
    auto *bar = w.findChild<QToolBar *>(QLatin1String(kMainToolBar));
    QStringList captions;
    for (QAction *action : bar->actions())
        captions << (action->isSeparator() ? QStringLiteral("|") : action->iconText());
    EXPECT_EQ(captions, QStringList({"Play Now", "|", "New Project", "Open", "Save", "Save As...", "Make EXE", "|",
                                     "Options", "Help", "Exit"}));
    for (QAction *action : bar->actions())
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
}

TEST_F(MainWindowTest, OpenSaveAsAndNewSetCaptionsCounterAndSelection)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("trip.zut", 3));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - trip"));
    EXPECT_EQ(w.windowIconText(), QLatin1String("trip - Lumetta XP"));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 3"));
    EXPECT_EQ(ListedPictures().size(), 3);
    EXPECT_EQ(SelectedRows(), QList<int>({0}));
    EXPECT_EQ(w.PictureList()->currentIndex().row(), 0);

    dialogs_.saveAnswers = {dir_.filePath("copy")};
    w.findChild<QAction *>(QStringLiteral("SaveAsItem"))->trigger();
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - copy"));
    EXPECT_EQ(w.windowIconText(), QLatin1String("copy - Lumetta XP"));
    EXPECT_TRUE(QFile::exists(dir_.filePath("copy.zut")));

    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - Untitled project"));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 0"));
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_FALSE(dialogs_.asked.contains("question"));
}

TEST_F(MainWindowTest, StateTableThroughTheKeys)
{
    MainWindow &w = Start();
    const QString opened = MakeProject("opened.zut", 2);
    OpenProject(opened);
    ClickRow(1);
    QTest::keyClick(w.PictureList(), Qt::Key_Delete);
    EXPECT_TRUE(w.Project().Modified());

    // Opened: Ctrl+S writes there without asking.
    dialogs_.asked.clear();
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(ReadTextFile(opened).size(), 15);  // one picture, two effects
    EXPECT_FALSE(w.Project().Modified());

    // Save As cancelled: the opened path is forgotten, the next Ctrl+S asks.
    dialogs_.saveAnswers = {std::nullopt, dir_.filePath("named")};
    Button("SaveAsButton")->click();
    EXPECT_EQ(w.Project().State(), ShowProject::FileState::Untitled);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.asked, QStringList({"save", "save"}));
    EXPECT_EQ(w.Project().State(), ShowProject::FileState::SavedAs);
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - named"));  // the caption names the new file
    EXPECT_TRUE(QFile::exists(dir_.filePath("named.zut")));
}

TEST_F(MainWindowTest, CloseWritesTheListFilesBeforeAskingAndKeepsThemOnCancel)
{
    MainWindow &w = Start();
    const QString opened = MakeProject("show.zut", 3);
    OpenProject(opened);
    QTest::keyClick(w.PictureList(), Qt::Key_Delete);
    ASSERT_TRUE(w.Project().Modified());

    dialogs_.saveQuestionAnswers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(dialogs_.asked.last(), QLatin1String("question"));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kResumeFile)), QStringList({"Pre", opened}));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kStartDirFile)).size(), 1);

    dialogs_.saveQuestionAnswers = {Answer::No};
    EXPECT_TRUE(w.close());
}

TEST_F(MainWindowTest, CloseAfterYesGoesOnOnlyWhenSaved)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("s.zut", 2));
    dialogs_.saveAnswers = {std::nullopt};
    Button("SaveAsButton")->click();  // now untitled, so Yes asks for a name
    w.Project().SetModified();
    dialogs_.saveQuestionAnswers = {Answer::Yes, Answer::Yes};
    dialogs_.saveAnswers = {std::nullopt, dir_.filePath("kept")};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(QFile::exists(dir_.filePath("kept.zut")));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kResumeFile)).value(1), QLatin1String("No"));
}

TEST_F(MainWindowTest, AListFileThatCannotBeWrittenIsReportedAndClosingGoesOn)
{
    QFile blocker(dir_.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    lists_ = std::make_unique<ListFiles>(dir_.filePath("blocked/config"));
    MainWindow &w = Start();
    dialogs_.errors.clear();
    EXPECT_TRUE(w.close());
    ASSERT_EQ(dialogs_.errors.size(), 2);
    EXPECT_TRUE(dialogs_.errors[0].startsWith("Cannot create file ")) << dialogs_.errors[0].toStdString();
}

TEST_F(MainWindowTest, NotInTheResumeListStartsWithThePreviewHiddenAndWritesItBack)
{
    lists_->WriteResume({"Not", "No"});
    MainWindow &w = Start();
    EXPECT_FALSE(w.PreviewShown());
    EXPECT_FALSE(Button("PreviewButton")->isChecked());
    EXPECT_FALSE(w.findChild<QWidget *>(QStringLiteral("PrePanel"))->isVisible());
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kResumeFile)), QStringList({"Not", "No"}));
}

TEST_F(MainWindowTest, PreviewButtonShowsAndHidesThePanel)
{
    MainWindow &w = Start();
    QWidget *panel = w.findChild<QWidget *>(QStringLiteral("PrePanel"));
    QToolButton *button = Button("PreviewButton");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(panel->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kResumeFile)).value(0), QLatin1String("Pre"));
}

TEST_F(MainWindowTest, ReopensTheLastProjectAtStartOnlyOnce)
{
    const QString last = MakeProject("last.zut", 2);
    lists_->WriteResume({"Pre", last});
    MainWindow &w = Start();
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - last"));
    EXPECT_EQ(w.windowIconText(), QLatin1String("last - Lumetta XP"));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 2"));
    EXPECT_EQ(SelectedRows(), QList<int>({0}));
    EXPECT_FALSE(w.Project().Modified());

    QTest::keyClick(&w, Qt::Key_Delete);
    w.OnActivated();  // coming back from a dialog
    EXPECT_EQ(ListedPictures().size(), 1);
}

TEST_F(MainWindowTest, AFailedReopeningIsReportedAndTheWindowStaysUsable)
{
    const QString gone = dir_.filePath("gone.zut");
    lists_->WriteResume({"Pre", gone});
    MainWindow &w = Start();
    EXPECT_EQ(dialogs_.errors, QStringList({"Cannot open file " + gone + ": the file does not exist"}));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP 3.51"));
    EXPECT_TRUE(ListedPictures().isEmpty());
    // No hidden save target: the caption names none, and neither does the next start.
    EXPECT_EQ(w.Project().State(), ShowProject::FileState::Untitled);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kResumeFile)), QStringList({"Pre", "No"}));
}

TEST_F(MainWindowTest, AnEmptyProjectLineInTheResumeListReopensNothing)
{
    lists_->WriteResume({"Pre", ""});
    MainWindow &w = Start();
    EXPECT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_EQ(w.Project().State(), ShowProject::FileState::Untitled);
}

TEST_F(MainWindowTest, AFileNamedAtStartIsOpenedInsteadOfTheLastProject)
{
    lists_->WriteResume({"Pre", MakeProject("last.zut", 2)});
    const QString named = MakeProject("named.zut", 4);
    window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
    window_->SetStartupFile(named);
    Show();
    EXPECT_EQ(window_->windowTitle(), QLatin1String("Lumetta XP - named"));
    EXPECT_EQ(window_->StatusText(), QLatin1String("Counter: 4"));
}

TEST_F(MainWindowTest, RemovingEntriesOneTwoAndFourOfFiveLeavesZeroAndThree)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("five.zut", 5));
    ClickRow(1);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(4, Qt::ControlModifier);
    ASSERT_EQ(SelectedRows(), QList<int>({1, 2, 4}));
    QTest::keyClick(w.PictureList(), Qt::Key_Delete);
    EXPECT_EQ(ListedPictures(), QStringList({"/pictures/p0.jpg", "/pictures/p3.jpg"}));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 2"));
    EXPECT_TRUE(w.Project().Modified());
    EXPECT_EQ(w.Project().Pictures(), ListedPictures());
}

TEST_F(MainWindowTest, ClearEmptiesTheListFromAnywhere)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("c.zut", 3));
    Button("PreviewButton")->setFocus();
    QTest::keyClick(&w, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 0"));
    EXPECT_TRUE(w.Project().Modified());
}

TEST_F(MainWindowTest, UpArrowTwiceMovesTheLastOfThreeToTheTop)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("three.zut", 3));
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);  // row 0 stays selected too, row 2 has the focus
    QToolButton *up = Button("ArrowUp");
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(ListedPictures(), QStringList({"/pictures/p2.jpg", "/pictures/p0.jpg", "/pictures/p1.jpg"}));
    EXPECT_EQ(w.PictureList()->currentIndex().row(), 0);
    EXPECT_EQ(SelectedRows(), QList<int>({0}));
    EXPECT_TRUE(w.Project().Modified());
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 3"));

    QTest::mouseClick(Button("ArrowDown"), Qt::LeftButton);
    EXPECT_EQ(ListedPictures().first(), QLatin1String("/pictures/p0.jpg"));
    EXPECT_EQ(w.PictureList()->currentIndex().row(), 1);
}

TEST_F(MainWindowTest, UpArrowAtTheTopOfItsRangeMovesNothing)
{
    MainWindow &w = Start();
    for (int i = 0; i < 2000; ++i)
        w.ArrowClicked(true);
    OpenProject(MakeProject("two.zut", 2));
    ClickRow(1);
    QTest::mouseClick(Button("ArrowUp"), Qt::LeftButton);
    EXPECT_EQ(ListedPictures().first(), QLatin1String("/pictures/p0.jpg"));
    EXPECT_FALSE(w.Project().Modified());
    QTest::mouseClick(Button("ArrowDown"), Qt::LeftButton);  // 1999 < 2000: a down move
    EXPECT_EQ(ListedPictures().first(), QLatin1String("/pictures/p0.jpg"));
    ClickRow(0);
    QTest::mouseClick(Button("ArrowDown"), Qt::LeftButton);
    EXPECT_EQ(ListedPictures().first(), QLatin1String("/pictures/p1.jpg"));
}

TEST_F(MainWindowTest, AddTakesExtensionsInAnyCaseAndGhostsThem)
{
    const QString folder = MakeFolder("mixed", {"a.Jpg", "b.jpg", "c.JPG", "d.bmp", "notes.txt"});
    MainWindow &w = StartIn(folder);
    ASSERT_EQ(Files()->Directory(), folder);
    EXPECT_EQ(ItemNamed("notes.txt"), -1);  // the mask lists pictures only
    SelectFiles({"a.Jpg", "b.jpg", "c.JPG"});
    Files()->setFocus();
    QTest::keyClick(Files(), Qt::Key_Return);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "a.Jpg", folder + "b.jpg", folder + "c.JPG"}));
    EXPECT_TRUE(Files()->IsItemGhosted(ItemNamed("a.Jpg")));
    EXPECT_TRUE(Files()->IsItemGhosted(ItemNamed("b.jpg")));
    EXPECT_TRUE(Files()->IsItemGhosted(ItemNamed("c.JPG")));
    EXPECT_FALSE(Files()->IsItemGhosted(ItemNamed("d.bmp")));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 3"));
    EXPECT_TRUE(w.Project().Modified());
    // The first picture is selected and shown at once.
    EXPECT_EQ(SelectedRows(), QList<int>({0}));
    EXPECT_TRUE(w.Preview()->HasPicture());
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join(";").toStdString();
}

TEST_F(MainWindowTest, EnterInTheFileListOpensAFolderLikeADoubleClick)
{
    const QString folder = MakeFolder("keys", {"p.bmp"});
    MakeFolder("keys/inner", {"q.bmp"});
    MainWindow &w = StartIn(folder);
    Files()->setFocus();
    SelectFiles({"inner"});
    QTest::keyClick(Files(), Qt::Key_Return);
    EXPECT_EQ(Files()->Directory(), folder + "inner/");
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_FALSE(w.Project().Modified());

    // On a picture the same key adds it, once.
    SelectFiles({"q.bmp"});
    QTest::keyClick(Files(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "inner/q.bmp"}));
}

TEST_F(MainWindowTest, MovingThroughTheFileListWithTheKeysPreviewsEachPicture)
{
    const QString folder = MakeFolder("arrows", {"a.bmp", "b.jpg"});
    MainWindow &w = StartIn(folder);
    Files()->setFocus();
    Files()->setCurrentItem(Files()->topLevelItem(ItemNamed("a.bmp")));
    w.Preview()->Clear();
    QTest::keyClick(Files(), Qt::Key_Down);
    EXPECT_EQ(Files()->CurrentFile(), folder + "b.jpg");
    EXPECT_TRUE(w.Preview()->HasPicture());
    w.Preview()->Clear();
    QTest::keyClick(Files(), Qt::Key_Down);  // already the last: nothing moves, nothing loads
    EXPECT_FALSE(w.Preview()->HasPicture());
}

TEST_F(MainWindowTest, ANameWithALineBreakIsNotAddedAndTheStatusBarSaysWhy)
{
    const QString folder = MakeFolder("breaks", {"good.bmp", "bad\nname.bmp", "bad\rtoo.jpg"});
    MainWindow &w = StartIn(folder);
    ASSERT_GE(ItemNamed("bad\nname.bmp"), 0);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "good.bmp"}));
    const QString message = w.statusBar()->currentMessage();
    EXPECT_TRUE(message.contains("bad name.bmp is not added")) << message.toStdString();
    EXPECT_TRUE(message.contains("line break")) << message.toStdString();
    EXPECT_TRUE(message.endsWith("(and 1 more)")) << message.toStdString();
}

// Every way of adding takes a picture whatever the letter case of its extension.
TEST_F(MainWindowTest, MixedCaseExtensionsAreAddedByEveryCommand)
{
    const QString folder = MakeFolder("cases", {"mixed.Jpg", "PHOTO.JPEG", "Shot.Png"});
    MainWindow &w = StartIn(folder);
    ASSERT_GE(ItemNamed("mixed.Jpg"), 0);
    ASSERT_GE(ItemNamed("PHOTO.JPEG"), 0);
    // A double click.
    QTreeWidgetItem *mixed = Files()->topLevelItem(ItemNamed("mixed.Jpg"));
    const QRect place = Files()->visualItemRect(mixed);
    SelectFiles({"mixed.Jpg"});
    QTest::mouseDClick(Files()->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(ListedPictures(), QStringList({folder + "mixed.Jpg"}));
    // Enter.
    SelectFiles({"PHOTO.JPEG"});
    Files()->setFocus();
    QTest::keyClick(Files(), Qt::Key_Return);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "mixed.Jpg", folder + "PHOTO.JPEG"}));
    // Add All.
    w.findChild<QAction *>(QStringLiteral("AddAll"))->trigger();
    EXPECT_EQ(ListedPictures().size(), 5);
    EXPECT_TRUE(ListedPictures().contains(folder + "Shot.Png"));
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty()) << w.statusBar()->currentMessage().toStdString();
}

// The "already added" marks of the folder panel always show which files are in the list.
TEST_F(MainWindowTest, FileMarksFollowTheListThroughUndoNewAndOpen)
{
    const QString folder = MakeFolder("marks", {"a.bmp", "b.bmp"});
    MainWindow &w = StartIn(folder);
    const auto marked = [&] {
        QStringList names;
        for (int i = 0; i < Files()->AllCount(); ++i)
            if (Files()->IsItemGhosted(i))
                names << Files()->ItemFileName(i);
        return names;
    };
    SelectFiles({"a.bmp"});
    w.AddPictures();
    EXPECT_EQ(marked(), QStringList({"a.bmp"}));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_TRUE(marked().isEmpty());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(marked(), QStringList({"a.bmp"}));

    dialogs_.saveQuestionAnswers = {Answer::No};
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(marked().isEmpty());

    const QString project = dir_.filePath("marks.zut");
    WriteTextFile(project, BuildProjectText(ShowSettings(), {folder + "b.bmp"}, {"1"}, {}));
    OpenProject(project);
    EXPECT_EQ(marked(), QStringList({"b.bmp"}));
}

// The caption names the project the same way however it came: opened, reopened or saved.
TEST_F(MainWindowTest, CaptionsNameTheProjectAfterOpenAndAfterTheFirstSave)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("trip.zut", 2));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - trip"));

    dialogs_.saveQuestionAnswers = {Answer::No};
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    const QString folder = MakeFolder("untitled", {"p.bmp"});
    w.FileList()->SetDirectory(folder);
    w.AddAllPictures();
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - Untitled project *"));
    dialogs_.saveAnswers = {dir_.filePath("fresh")};
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(dir_.filePath("fresh.zut")));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - fresh"));
    EXPECT_EQ(w.windowIconText(), QLatin1String("fresh - Lumetta XP"));
}

// A save that failed leaves the project dialogs where the last good one was: a folder such as
// /proc, whose files block on reading, would hang the next dialog.
TEST_F(MainWindowTest, ProjectDialogsStartInTheLastFolderThatWorked)
{
    MainWindow &w = Start();
    OpenProject(MakeProject("trip.zut", 2));
    EXPECT_EQ(w.ProjectDialogFolder(), dir_.path());
    dialogs_.saveAnswers = {QStringLiteral("/proc/lumetta-test")};
    w.findChild<QAction *>(QStringLiteral("SaveAsItem"))->trigger();
    EXPECT_FALSE(dialogs_.errors.isEmpty());
    EXPECT_EQ(w.ProjectDialogFolder(), dir_.path());
    dialogs_.saveAnswers = {dir_.filePath("again")};
    w.findChild<QAction *>(QStringLiteral("SaveAsItem"))->trigger();
    EXPECT_EQ(w.ProjectDialogFolder(), dir_.path());
    EXPECT_TRUE(QFile::exists(dir_.filePath("again.zut")));
}

TEST_F(MainWindowTest, ExportVideoHasAnIcon)
{
    MainWindow &w = Start();
    EXPECT_FALSE(w.findChild<QAction *>(QStringLiteral("ExportVideoItem"))->icon().isNull());
}

TEST_F(MainWindowTest, AddingTwiceGivesTwoEntriesAndRecordsTheFolderOnce)
{
    const QString folder = MakeFolder("twice", {"p.bmp"});
    MainWindow &w = StartIn(folder);
    SelectFiles({"p.bmp"});
    w.findChild<QAction *>(QStringLiteral("Add"))->trigger();
    w.findChild<QAction *>(QStringLiteral("Add"))->trigger();
    EXPECT_EQ(ListedPictures(), QStringList({folder + "p.bmp", folder + "p.bmp"}));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kRecentFile)), QStringList({folder}));
}

TEST_F(MainWindowTest, AddWithNothingSelectedChangesNothingButCounts)
{
    const QString folder = MakeFolder("none", {"p.bmp"});
    MainWindow &w = StartIn(folder);
    Files()->clearSelection();
    QTest::keyClick(&w, Qt::Key_Enter);
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_FALSE(w.Editor().History().canUndo());
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 0"));
}

TEST_F(MainWindowTest, AddAllWithoutPicturesAddsNoRecentFolder)
{
    const QString folder = MakeFolder("empty", {"readme.txt", "x.svg"});
    MainWindow &w = StartIn(folder);
    w.PictureList()->setFocus();
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 0"));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kRecentFile)), QStringList({"Empty"}));
}

TEST_F(MainWindowTest, AddAllTakesEveryPictureInListOrderWhereverTheFocusIs)
{
    const QString folder = MakeFolder("all", {"b.gif", "a.jpg", "c.BMP", "skip.svg", "d.png", "e.HEIC", "f.Avif"});
    QDir(folder).mkdir("sub.jpg");
    MainWindow &w = StartIn(folder);
    w.PictureList()->setFocus();
    QTest::keyClick(w.PictureList(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "a.jpg", folder + "b.gif", folder + "c.BMP", folder + "d.png",
                                             folder + "e.HEIC", folder + "f.Avif"}));
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kRecentFile)), QStringList({folder}));
    // Del removes from the picture list even while the file list has the focus.
    Files()->setFocus();
    QTest::keyClick(Files(), Qt::Key_Delete);
    EXPECT_EQ(ListedPictures().size(), 5);
}

TEST_F(MainWindowTest, DoubleClickingAFolderOpensItAndLeavesTheProjectUnmodified)
{
    const QString folder = MakeFolder("dbl", {"x.bmp"});
    QDir(folder).mkdir("inner");
    MainWindow &w = StartIn(folder);
    const int item = ItemNamed("inner");
    ASSERT_GE(item, 0);
    SelectFiles({"inner"});
    QTreeWidgetItem *row = Files()->topLevelItem(item);
    const QPoint at = Files()->visualItemRect(row).center();
    QTest::mouseDClick(Files()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(Files()->Directory(), folder + "inner/");
    EXPECT_TRUE(ListedPictures().isEmpty());
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP 3.51"));
}

TEST_F(MainWindowTest, ClickingAFileClearsTheListSelectionAndPreviewsPicturesOnly)
{
    const QString folder = MakeFolder("click", {"a.bmp", "b.jpg", "c.txt"});
    MainWindow &w = StartIn(folder);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(SelectedRows(), QList<int>({0}));
    const auto clickFile = [&](const char *name) {
        QTreeWidgetItem *row = Files()->topLevelItem(ItemNamed(name));
        QTest::mouseClick(Files()->viewport(), Qt::LeftButton, Qt::NoModifier, Files()->visualItemRect(row).center());
    };
    clickFile("b.jpg");
    EXPECT_TRUE(SelectedRows().isEmpty());
    EXPECT_EQ(w.Preview()->CurrentPicture().size(), QSize(64, 48));
    const QRect shown = w.Preview()->ImageGeometry();
    clickFile("c.txt");
    EXPECT_EQ(w.Preview()->ImageGeometry(), shown);

    // Hidden: the click still clears the list's selection but loads nothing.
    ClickRow(1);
    Button("PreviewButton")->click();
    ASSERT_FALSE(w.PreviewShown());
    w.Preview()->Clear();
    clickFile("a.bmp");
    EXPECT_TRUE(SelectedRows().isEmpty());
    EXPECT_FALSE(w.Preview()->HasPicture());
    ClickRow(0);
    EXPECT_FALSE(w.Preview()->HasPicture());
}

TEST_F(MainWindowTest, ClearAndNewEmptyThePreview)
{
    const QString folder = MakeFolder("clear", {"a.bmp"});
    MainWindow &w = StartIn(folder);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(w.Preview()->HasPicture());
    QTest::keyClick(&w, Qt::Key_Delete);  // Remove keeps what the preview shows
    EXPECT_TRUE(w.Preview()->HasPicture());
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(w.Preview()->HasPicture());
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(w.Preview()->HasPicture());
    dialogs_.saveQuestionAnswers = {Answer::No};
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(w.Preview()->HasPicture());
}

TEST_F(MainWindowTest, AnUnreadablePictureIsToldInThePreviewAndTheWindowGoesOn)
{
    const QString folder = MakeFolder("bad", {});
    QFile fake(folder + "broken.jpg");
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a jpeg at all");
    fake.close();
    MainWindow &w = StartIn(folder);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ListedPictures(), QStringList({folder + "broken.jpg"}));
    EXPECT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_TRUE(w.Preview()->Message().startsWith("Cannot load picture " + folder + "broken.jpg: "))
        << w.Preview()->Message().toStdString();
}

TEST_F(MainWindowTest, TheWindowIsActiveAgainAfterAModalDialogSoItsKeysWork)
{
    // Where no window manager hands the activation back, a closed dialog left every key dead.
    MainWindow &w = Start();
    QDialog modal(&w);
    QTimer::singleShot(0, &modal, [&] {
        modal.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&modal));
        modal.accept();
    });
    modal.exec();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isActiveWindow());
    EXPECT_EQ(QGuiApplication::focusWindow(), w.windowHandle());
}

TEST_F(MainWindowTest, HelpWithoutADesktopProgramOpensInAWindowOfOurOwn)
{
    // Neither a test run nor a desktop without a browser has a program for the guide: F1 shows
    // it in the program's own window.
    MainWindow &w = Start();
    EXPECT_TRUE(QFileInfo(MainWindow::HelpFilePath()).isFile()) << MainWindow::HelpFilePath().toStdString();
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(dialogs_.errors, QStringList());
    ASSERT_NE(w.Help(), nullptr);
    EXPECT_TRUE(w.Help()->isVisible());
    EXPECT_TRUE(w.Help()->Browser()->toPlainText().contains("Making a show, step by step"));
    // A second F1 shows the same window again.
    w.Help()->close();
    HelpWindow *first = w.Help();
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(w.Help(), first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(MainWindowTest, FirstStartOffersTheDemoShowOnce)
{
    EXPECT_TRUE(QFileInfo(InstalledFiles::ForThisProgram().DemoShow()).isFile());
    Start();
    EXPECT_EQ(dialogs_.demoOffers, 1);
    window_->close();
    window_.reset();
    Start();
    EXPECT_EQ(dialogs_.demoOffers, 1);
}

TEST_F(MainWindowTest, AProjectNamedAtStartIsNotInterruptedByTheDemoOffer)
{
    window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
    window_->SetStartupFile(MakeProject("given.zut", 2));
    Show();
    EXPECT_EQ(dialogs_.demoOffers, 0);
    EXPECT_EQ(window_->Project().Pictures().size(), 2);
}

TEST_F(MainWindowTest, HelpMenuPlaysTheDemoShow)
{
    MainWindow &w = Start();
    auto *demo = w.findChild<QAction *>(QStringLiteral("DemoItem"));
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->text().remove(u'&'), "Play Demo Show");
    EXPECT_FALSE(demo->icon().isNull());
    auto *help = w.findChild<QMenu *>(QStringLiteral("HelpMenu"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->actions().contains(demo));
}

TEST_F(MainWindowTest, APictureThatCannotBeReadLeavesThePreviewEmptyWithTheReason)
{
    const QString folder = MakeFolder("bad-preview", {"a.bmp"});
    QFile fake(folder + "broken.jpg");
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a jpeg at all");
    fake.close();
    MainWindow &w = StartIn(folder);
    const auto clickFile = [&](const char *name) {
        QTreeWidgetItem *row = Files()->topLevelItem(ItemNamed(name));
        QTest::mouseClick(Files()->viewport(), Qt::LeftButton, Qt::NoModifier, Files()->visualItemRect(row).center());
    };
    clickFile("a.bmp");
    ASSERT_TRUE(w.Preview()->HasPicture());
    clickFile("broken.jpg");
    EXPECT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_TRUE(w.Preview()->Message().contains("broken.jpg")) << w.Preview()->Message().toStdString();
    EXPECT_TRUE(w.findChild<QLabel *>(QStringLiteral("PreviewMessage"))->isVisible());
    EXPECT_FALSE(w.Preview()->HasPicture());
    clickFile("a.bmp");
    EXPECT_TRUE(w.Preview()->Message().isEmpty());
}

TEST_F(MainWindowTest, TheLineAboveTheFileListNamesTheShownFolder)
{
    const QString folder = MakeFolder(QStringLiteral("a rather long folder name/caf\u00e9 inner"), {});
    MainWindow &w = StartIn(folder);
    auto *line = w.findChild<QLabel *>(QStringLiteral("FolderLabel"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(w.FolderText(), folder);
    EXPECT_EQ(line->toolTip(), folder);

    QTest::mouseClick(Button("UpButton"), Qt::LeftButton);
    EXPECT_EQ(w.FolderText(), dir_.filePath("a rather long folder name") + "/");

    Files()->SetDirectory(QStringLiteral("/"));
    EXPECT_EQ(w.FolderText(), QLatin1String("/"));
    QTest::mouseClick(Button("UpButton"), Qt::LeftButton);
    EXPECT_EQ(w.FolderText(), QLatin1String("Volumes"));

    // Too long for the panel: shortened in the middle, never wider than the line.
    Files()->SetDirectory(folder);
    line->resize(80, line->height());
    EXPECT_NE(line->text(), folder);
    EXPECT_TRUE(line->text().contains(QChar(0x2026)) && line->text().endsWith(u'/')) << line->text().toStdString();
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->contentsRect().width());
}

TEST_F(MainWindowTest, RecentFoldersMenuShowsTheLastFiveOldestFirst)
{
    QStringList seven;
    for (int i = 1; i <= 7; ++i)
        seven << MakeFolder(QStringLiteral("r%1").arg(i), {});
    lists_->WriteRecentFolders(seven);
    MainWindow &w = Start();
    auto *menu = w.findChild<QMenu *>(QStringLiteral("RecentFoldersMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction *action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions, seven.mid(2));
    EXPECT_EQ(w.Recent().Folders(), seven.mid(2));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(Files()->Directory(), seven[3]);

    QDir(seven[6]).removeRecursively();
    menu->actions().at(4)->trigger();  // gone: the list stays where it was
    EXPECT_EQ(Files()->Directory(), seven[3]);
}

TEST_F(MainWindowTest, RecentFoldersMenuForEmptyAndClear)
{
    const struct
    {
        QStringList lines;
        QStringList folders;
    } cases[] = {
        {{"Empty"}, {}},
        {{"Clear", "/a/", "/b/"}, {"Clear", "/a/", "/b/"}},
    };
    for (const auto &c : cases) {
        lists_->WriteRecentFolders(c.lines);
        MainWindow &w = Start();
        auto *menu = w.findChild<QMenu *>(QStringLiteral("RecentFoldersMenu"));
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions().first()->text(), QLatin1String("Empty"));
        EXPECT_EQ(w.Recent().Folders(), c.folders);
    }
}

TEST_F(MainWindowTest, StartFolderThatIsGoneLeavesTheInitialFolderAndCloseWritesTheShownOne)
{
    MainWindow &w = StartIn(dir_.filePath("no-such-folder/"));
    EXPECT_EQ(Files()->Directory(), QDir::homePath() + "/");
    const QString folder = MakeFolder("shown", {});
    Files()->SetDirectory(folder);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadTextFile(lists_->PathOf(ListFiles::kStartDirFile)), QStringList({folder}));
}

TEST_F(MainWindowTest, UpButtonShowsTheParentFolder)
{
    const QString folder = MakeFolder("parent/child", {});
    MainWindow &w = StartIn(folder);
    QTest::mouseClick(w.findChild<QToolButton *>(QStringLiteral("UpButton")), Qt::LeftButton);
    EXPECT_EQ(Files()->Directory(), dir_.filePath("parent") + "/");
}

TEST_F(MainWindowTest, PickingAVolumeShowsItsRoot)
{
    MainWindow &w = StartIn(MakeFolder("somewhere", {}));
    auto *drives = w.findChild<VolumeSelector *>(QStringLiteral("DirBox"));
    ASSERT_NE(drives, nullptr);
    ASSERT_GT(drives->count(), 0);
    emit drives->activated(0);
    EXPECT_EQ(Files()->Directory(), drives->Roots().first());
}

TEST_F(MainWindowTest, PanelLayoutFollowsItsSizingRules)
{
    MainWindow &w = Start();
    w.resize(1200, 800);
    QApplication::processEvents();
    auto *bar = w.findChild<QWidget *>(QLatin1String(kFolderToolBar));
    auto *up = w.findChild<QToolButton *>(QStringLiteral("UpButton"));
    auto *drives = w.findChild<QWidget *>(QStringLiteral("DirBox"));
    EXPECT_EQ(up->x(), 0);
    EXPECT_EQ(drives->width(), bar->contentsRect().width() - up->width() - 2);
    EXPECT_EQ(w.findChild<QWidget *>(QStringLiteral("LeftPanel"))->width(), 321);
    EXPECT_EQ(w.Preview()->height(), 282);

    auto *pictureBar = w.findChild<QToolBar *>(QLatin1String(kPictureToolBar));
    QStringList captions;
    for (QAction *action : pictureBar->actions()) {
        if (action->isSeparator()) {
            captions << "|";
            continue;
        }
        QWidget *button = pictureBar->widgetForAction(action);
        if (auto *tool = qobject_cast<QToolButton *>(button)) {
            captions << tool->text();
            EXPECT_FALSE(tool->icon().isNull()) << tool->text().toStdString();
            EXPECT_GE(tool->width(), 67) << tool->text().toStdString();
        } else {
            captions << button->objectName();
        }
    }
    EXPECT_EQ(captions, QStringList({"Add", "Add All", "|", "Remove", "Clear", "|", "Preview", "|", kMoveArrows}));
}

// Whether every command of the window's two tool bars shows on its bar, none behind the
// overflow button.
void ExpectEveryCommandOnItsBar(const MainWindow &w)
{
    for (const char *name : {kMainToolBar, kPictureToolBar}) {
        const auto *bar = w.findChild<QToolBar *>(QLatin1String(name));
        ASSERT_NE(bar, nullptr);
        for (QAction *action : bar->actions()) {
            if (action->isSeparator())
                continue;
            const QWidget *button = bar->widgetForAction(action);
            ASSERT_NE(button, nullptr) << name;
            EXPECT_TRUE(button->isVisible()) << name << " " << action->objectName().toStdString();
            EXPECT_TRUE(bar->rect().contains(button->geometry())) << name << " " << action->objectName().toStdString();
        }
        for (const QToolButton *button : bar->findChildren<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
            EXPECT_FALSE(button->isVisible()) << name;
    }
}

TEST_F(MainWindowTest, TheFirstSizeFitsTheScreenAndNoCommandIsHidden)
{
    window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
    const QSize screen = window_->screen()->availableGeometry().size();
    EXPECT_LE(window_->width(), screen.width());
    EXPECT_LE(window_->height(), screen.height());
    Show();
    QApplication::processEvents();
    ExpectEveryCommandOnItsBar(*window_);
    EXPECT_GT(window_->PictureList()->height(), 0);

    // As narrow as the window goes: the buttons show their icons alone.
    window_->resize(window_->minimumSizeHint());
    QApplication::processEvents();
    ExpectEveryCommandOnItsBar(*window_);
    auto *bar = window_->findChild<QToolBar *>(QLatin1String(kMainToolBar));
    EXPECT_EQ(bar->widgetForAction(bar->actions().first())->property("toolButtonStyle").toInt(),
              int(Qt::ToolButtonIconOnly));
    // Wide again, the captions come back.
    window_->resize(1600, 900);
    QApplication::processEvents();
    EXPECT_EQ(bar->widgetForAction(bar->actions().first())->property("toolButtonStyle").toInt(),
              int(Qt::ToolButtonTextUnderIcon));
    ExpectEveryCommandOnItsBar(*window_);
}

TEST_F(MainWindowTest, PlayNowWithAnEmptyListDoesNothing)
{
    MainWindow &w = Start();
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_TRUE(w.isActiveWindow());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A new user's first session and the next start.
TEST_F(MainWindowTest, BrowseAddReorderSaveQuitAndFindItReopened)
{
    const QString folder = MakeFolder("trip", {"a.jpg", "b.bmp", "c.jpg"});
    MainWindow &w = StartIn(folder);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    ClickRow(2);
    QTest::mouseClick(Button("ArrowUp"), Qt::LeftButton);
    const QStringList order{folder + "a.jpg", folder + "c.jpg", folder + "b.bmp"};
    ASSERT_EQ(ListedPictures(), order);
    dialogs_.saveAnswers = {dir_.filePath("trip")};
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));

    ScriptedDialogs next;
    window_ = std::make_unique<MainWindow>(*lists_, &next);
    Show();
    EXPECT_EQ(ListedPictures(), order);
    EXPECT_EQ(window_->windowTitle(), QLatin1String("Lumetta XP - trip"));
    EXPECT_EQ(Files()->Directory(), folder);
    EXPECT_TRUE(window_->Preview()->HasPicture());
    EXPECT_FALSE(window_->Project().Modified());
    EXPECT_TRUE(next.errors.isEmpty());
}

TEST_F(MainWindowTest, AboutBoxNamesTheProgramAndVersion)
{
    Start();
    auto *text = window_->findChild<QLabel *>(QStringLiteral("AboutText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains("Lumetta XP"));
    EXPECT_TRUE(text->text().contains("3.51"));
    EXPECT_TRUE(text->text().contains("href="));
    EXPECT_TRUE(text->text().contains("GNU General Public License, version 3 or later (GPL-3.0-or-later)"));
    EXPECT_TRUE(text->text().contains("NO WARRANTY"));
}

TEST_F(MainWindowTest, BuilderCommandSavesThenShowsTheBuilderNamedAfterTheProject)
{
    MainWindow &w = Start();
    const QString path = MakeProject("trip.zut", 2);
    OpenProject(path);
    w.Project().EffectSelection() = {"7"};
    w.Project().SetModified();
    QString shownName;
    QTimer::singleShot(0, &w, [&] {
        if (auto *dialog = qobject_cast<BuildShowDialog *>(QApplication::activeModalWidget())) {
            shownName = dialog->NameEdit()->text();
            dialog->reject();
        }
    });
    w.findChild<QAction *>(QStringLiteral("MakeExeItem"))->trigger();
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_TRUE(ReadBytes(path).contains("[TRANS]\r\n7\r\n[MUSIC]"));
    EXPECT_EQ(shownName, dir_.filePath("trip"));
}

}  // namespace
}  // namespace lumetta
