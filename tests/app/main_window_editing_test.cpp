// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/picture_list_view.h"
#include "app/slide_panel.h"
#include "browse/file_list_view.h"
#include "browse/preview_pane.h"
#include "browse/thumbnail_loader.h"
#include "show/project_file.h"
#include "support/qstring_print.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <memory>

namespace lumetta {
namespace {

using Answer = ProjectDialogs::Answer;

class MainWindowEditingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lists_ = std::make_unique<ListFiles>(dir_.filePath("config"));
        folder_ = dir_.filePath("pictures") + "/";
        QDir().mkpath(folder_);
    }

    MainWindow &Start()
    {
        lists_->WriteStartDir({folder_});
        window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->OnActivated();
        return *window_;
    }

    // A BMP of one colour in the pictures folder.
    QString Picture(const QString &name, const QColor &colour = Qt::darkCyan, const QSize &size = QSize(64, 48))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder_ + name;
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    QString MakeProject(const QString &name, const QStringList &pictures)
    {
        const QString path = dir_.filePath(name);
        WriteTextFile(path, BuildProjectText(ShowSettings(), pictures, {"1"}, {}));
        return path;
    }

    QStringList Listed() const
    {
        QStringList shown;
        QAbstractItemModel *model = window_->PictureList()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 0).data(PictureListModel::PathRole).toString();
        return shown;
    }

    QPoint RowPoint(int row, bool upperHalf) const
    {
        const QRect rect = window_->PictureList()->visualRect(window_->PictureList()->model()->index(row, 0));
        return QPoint(rect.center().x(), upperHalf ? rect.top() + 2 : rect.bottom() - 2);
    }

    void Select(const QList<int> &rows, int current)
    {
        QListView *view = window_->PictureList();
        view->selectionModel()->clear();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
        view->selectionModel()->setCurrentIndex(view->model()->index(current, 0), QItemSelectionModel::NoUpdate);
    }

    // Enters, moves and drops DATA at POS of TARGET as the window system would; returns whether
    // the drop was taken.
    static bool Drop(QWidget *target, const QPoint &pos, QMimeData &data)
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(pos, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(pos, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(pos, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    static QMimeData *Urls(const QStringList &paths)
    {
        auto *data = new QMimeData;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }

    QTemporaryDir dir_;
    QString folder_;
    std::unique_ptr<ListFiles> lists_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowEditingTest, FilesAndFoldersDroppedOnTheListAreAddedWhereTheyFall)
{
    const QString a = Picture("a.bmp");
    const QString b = Picture("b.bmp");
    QDir().mkpath(folder_ + "more");
    const QString inner = folder_ + "more/z.bmp";
    QFile::copy(a, inner);
    QFile::copy(a, folder_ + "more/notes.txt");
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("three.zut", {"/p/0.jpg", "/p/1.jpg", "/p/2.jpg"}));

    std::unique_ptr<QMimeData> data(Urls({b, folder_ + "more", dir_.filePath("readme.txt")}));
    ASSERT_TRUE(Drop(w.PictureList()->viewport(), RowPoint(1, false), *data));
    EXPECT_EQ(Listed(), QStringList({"/p/0.jpg", "/p/1.jpg", b, inner, "/p/2.jpg"}));
    EXPECT_EQ(w.PictureList()->SelectedRows(), QList<int>({2, 3}));
    EXPECT_EQ(w.StatusText(), QLatin1String("Counter: 5"));
    EXPECT_TRUE(w.Project().Modified());
    // The dropped file that the folder panel shows is marked as taken.
    const FileListView *files = w.FileList();
    for (int i = 0; i < files->AllCount(); ++i)
        EXPECT_EQ(files->IsItemGhosted(i), files->ItemPath(i) == b) << files->ItemFileName(i).toStdString();

    // One undo takes the whole drop back.
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Listed(), QStringList({"/p/0.jpg", "/p/1.jpg", "/p/2.jpg"}));
    EXPECT_FALSE(w.Project().Modified());

    // Only files that are no pictures: the list refuses the drag.
    std::unique_ptr<QMimeData> text(Urls({folder_ + "more/notes.txt"}));
    EXPECT_FALSE(Drop(w.PictureList()->viewport(), RowPoint(0, true), *text));
    EXPECT_EQ(Listed().size(), 3);
}

TEST_F(MainWindowEditingTest, PicturesAreReorderedByDraggingSeveralAtOnce)
{
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("five.zut", {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg", "/p/e.jpg"}));
    Select({0, 2}, 2);
    std::unique_ptr<QMimeData> rows(w.PictureList()->RowsMimeData({0, 2}));
    ASSERT_TRUE(Drop(w.PictureList()->viewport(), RowPoint(3, false), *rows));
    EXPECT_EQ(Listed(), QStringList({"/p/b.jpg", "/p/d.jpg", "/p/a.jpg", "/p/c.jpg", "/p/e.jpg"}));
    EXPECT_EQ(w.PictureList()->SelectedRows(), QList<int>({2, 3}));
    EXPECT_TRUE(w.Project().Modified());

    // Rows of another list are other pictures: refused.
    PictureListView other;
    std::unique_ptr<QMimeData> foreign(other.RowsMimeData({0}));
    EXPECT_FALSE(Drop(w.PictureList()->viewport(), RowPoint(0, true), *foreign));
    EXPECT_EQ(Listed().first(), QLatin1String("/p/b.jpg"));
}

TEST_F(MainWindowEditingTest, AProjectDroppedOnTheWindowOpensAfterTheSaveQuestion)
{
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("first.zut", {"/p/a.jpg", "/p/b.jpg"}));
    QTest::keyClick(w.PictureList(), Qt::Key_Delete);  // the first picture has the focus
    ASSERT_TRUE(w.Project().Modified());
    const QString second = MakeProject("second.zut", {"/p/x.jpg"});
    std::unique_ptr<QMimeData> data(Urls({second}));

    // The list does not take it; the window does.
    QDragEnterEvent enter(RowPoint(0, true), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.PictureList()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());

    dialogs_.saveQuestionAnswers = {Answer::Cancel};
    ASSERT_TRUE(Drop(&w, QPoint(200, 200), *data));
    EXPECT_EQ(dialogs_.asked, QStringList({"question"}));
    EXPECT_EQ(Listed(), QStringList({"/p/b.jpg"}));

    dialogs_.saveQuestionAnswers = {Answer::No};
    ASSERT_TRUE(Drop(&w, QPoint(200, 200), *data));
    EXPECT_EQ(Listed(), QStringList({"/p/x.jpg"}));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - second"));
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_FALSE(w.Editor().History().canUndo());
}

TEST_F(MainWindowEditingTest, OpenOfAModifiedProjectAsksFirst)
{
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("first.zut", {"/p/a.jpg", "/p/b.jpg"}));
    QTest::keyClick(&w, Qt::Key_Delete);
    dialogs_.asked.clear();
    dialogs_.saveQuestionAnswers = {Answer::Cancel};
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.asked, QStringList({"question"}));
    EXPECT_EQ(Listed(), QStringList({"/p/b.jpg"}));
    EXPECT_TRUE(w.windowTitle().endsWith(" *"));
}

TEST_F(MainWindowEditingTest, EveryListChangeIsUndoneAndRedoneAndTheCaptionMarksUnsavedWork)
{
    Picture("a.bmp");
    Picture("b.bmp");
    Picture("c.bmp");
    MainWindow &w = Start();
    const QStringList all{folder_ + "a.bmp", folder_ + "b.bmp", folder_ + "c.bmp"};
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);  // Add All
    ASSERT_EQ(Listed(), all);
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP 3.51 *"));
    Select({1}, 1);
    QTest::keyClick(w.PictureList(), Qt::Key_Delete);
    Select({1}, 1);
    QTest::mouseClick(w.findChild<QToolButton *>("ArrowUp"), Qt::LeftButton);
    QTest::keyClick(&w, Qt::Key_Delete, Qt::ControlModifier);  // Clear
    ASSERT_TRUE(Listed().isEmpty());

    const QList<QStringList> history{
        {folder_ + "c.bmp", folder_ + "a.bmp"}, {folder_ + "a.bmp", folder_ + "c.bmp"}, all, {}};
    for (const QStringList &before : history) {
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Listed(), before);
        EXPECT_EQ(w.Project().Pictures(), before);
        EXPECT_EQ(w.StatusText(), QStringLiteral("Counter: %1").arg(before.size()));
    }
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP 3.51"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Listed(), all);
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Listed(), QStringList({folder_ + "a.bmp", folder_ + "c.bmp"}));
    EXPECT_TRUE(w.Project().Modified());

    // Saved, the project is unmodified there, and undoing beyond it modifies it again.
    dialogs_.saveAnswers = {dir_.filePath("saved")};
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - saved"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(w.Project().Modified());
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - saved *"));
}

TEST_F(MainWindowEditingTest, CtrlUpAndDownMoveTheSelectedPicturesAndCtrlUpInTheFolderPanelGoesUp)
{
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("five.zut", {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg", "/p/e.jpg"}));
    w.PictureList()->setFocus();
    Select({2, 3}, 3);
    QTest::keyClick(w.PictureList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Listed(), QStringList({"/p/a.jpg", "/p/c.jpg", "/p/d.jpg", "/p/b.jpg", "/p/e.jpg"}));
    EXPECT_EQ(w.PictureList()->SelectedRows(), QList<int>({1, 2}));
    EXPECT_EQ(w.PictureList()->currentIndex().row(), 2);
    QTest::keyClick(w.PictureList(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(w.PictureList(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Listed(), QStringList({"/p/a.jpg", "/p/b.jpg", "/p/e.jpg", "/p/c.jpg", "/p/d.jpg"}));
    QTest::keyClick(w.PictureList(), Qt::Key_Down, Qt::ControlModifier);  // at the end: stays
    EXPECT_EQ(Listed().last(), QLatin1String("/p/d.jpg"));

    QDir().mkpath(folder_ + "inner");
    w.FileList()->SetDirectory(folder_ + "inner");
    w.FileList()->setFocus();
    const QStringList before = Listed();
    QTest::keyClick(w.FileList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(w.FileList()->Directory(), folder_);
    EXPECT_EQ(Listed(), before);
}

TEST_F(MainWindowEditingTest, CtrlQClosesAndCtrlShiftSSavesAs)
{
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("keys.zut", {"/p/a.jpg"}));
    dialogs_.saveAnswers = {dir_.filePath("copy")};
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));
    EXPECT_TRUE(QFile::exists(dir_.filePath("copy.zut")));
    EXPECT_EQ(w.windowTitle(), QLatin1String("Lumetta XP - copy"));
    QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowEditingTest, OneClickOnAPictureDecodesItOnce)
{
    const QString a = Picture("a.bmp");
    const QString b = Picture("b.bmp");
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("two.zut", {a, b}));
    QSignalSpy decoded(w.Preview(), &PreviewPane::Decoded);
    QListView *view = w.PictureList();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_EQ(decoded.size(), 1);
    EXPECT_EQ(decoded[0][0].toString(), b);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_EQ(decoded.size(), 1);
}

TEST_F(MainWindowEditingTest, TheListShowsNumbersThumbnailsNamesAndMarksMissingAndUnreadableFiles)
{
    const QString red = Picture("red.bmp", QColor(230, 0, 0), QSize(200, 150));
    const QString broken = folder_ + "broken.jpg";
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    const QString gone = folder_ + "gone.jpg";
    MainWindow &w = Start();
    w.OpenProjectFile(MakeProject("marks.zut", {red, broken, gone}));
    w.resize(1000, 700);  // every row on screen, whatever the screen
    QApplication::processEvents();
    QListView *view = w.PictureList();
    view->viewport()->grab();  // painting asks for the thumbnails of the rows on screen
    ASSERT_TRUE(w.Thumbnails()->WaitUntilIdle(10000));
    QAbstractItemModel *model = view->model();
    const struct
    {
        const char *name;
        const char *mark;
    } rows[] = {{"red.bmp", ""}, {"broken.jpg", "cannot be read"}, {"gone.jpg", "missing"}};
    for (int row = 0; row < 3; ++row) {
        const QModelIndex index = model->index(row, 0);
        EXPECT_EQ(index.data().toString(), QLatin1String(rows[row].name));
        EXPECT_EQ(index.data(PictureListModel::NumberRole).toInt(), row + 1);
        EXPECT_EQ(index.data(PictureListModel::MarkRole).toString(), QLatin1String(rows[row].mark));
        EXPECT_TRUE(index.data(Qt::ToolTipRole).toString().startsWith(folder_ + rows[row].name));
    }
    EXPECT_TRUE(model->index(2, 0).data(Qt::ToolTipRole).toString().endsWith("the file does not exist"));

    // The red thumbnail is drawn whole in the first row: 48 x 36 pixels of the picture, in
    // device pixels.
    const QImage shown = view->viewport()->grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const QRect first = view->visualRect(model->index(0, 0));
    const QRect device(first.topLeft() * ratio, first.size() * ratio);
    int redPixels = 0;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            redPixels += shown.pixelColor(x, y) == QColor(230, 0, 0);
    EXPECT_EQ(redPixels, qRound(48 * 36 * ratio * ratio));
    EXPECT_GE(first.height(), 36);
}

TEST_F(MainWindowEditingTest, OpenRecentListsTheLastProjectsAndMarksMissingOnes)
{
    const QString one = MakeProject("one.zut", {"/p/a.jpg"});
    const QString two = MakeProject("two.zut", {"/p/b.jpg"});
    const QString three = MakeProject("three.zut", {"/p/c.jpg"});
    {
        MainWindow &w = Start();
        for (const QString &path : {one, two, three})
            w.OpenProjectFile(path);
        EXPECT_TRUE(w.close());
    }
    QFile::remove(two);
    MainWindow &w = Start();  // reopens three
    auto *menu = w.findChild<QMenu *>(QStringLiteral("RecentProjectsMenu"));
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, QStringList({"&1 " + three, "&2 " + two + " (missing)", "&3 " + one}));
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    menu->actions()[2]->trigger();
    EXPECT_EQ(Listed(), QStringList({"/p/a.jpg"}));
    EXPECT_EQ(w.RecentProjectFiles().Paths(), QStringList({one, three, two}));
}

// The slide panel: captions typed in place, several slides at once, marks, undo, both files saved.
class SlidePanelTest : public MainWindowEditingTest
{
protected:
    MainWindow &StartWithThree()
    {
        const QStringList pictures{Picture("a.bmp", Qt::darkCyan, {320, 240}), Picture("b.bmp"), Picture("c.bmp")};
        MainWindow &w = Start();
        w.OpenProjectFile(MakeProject("show.zut", pictures));
        return w;
    }

    QString Note(int row) const
    {
        return window_->PictureList()->model()->index(row, 0).data(PictureListModel::DetailsRole).toString();
    }
};

bool HasNearWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 240 && qGreen(image.pixel(x, y)) > 240 && qBlue(image.pixel(x, y)) > 240)
                return true;
    return false;
}

TEST_F(SlidePanelTest, ACaptionTypedInPlaceShowsInThePreviewAndUndoesInOneStep)
{
    MainWindow &w = StartWithThree();
    Select({0}, 0);
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QPlainTextEdit *text = w.Slides()->CaptionText();
    ASSERT_TRUE(text->hasFocus());
    EXPECT_FALSE(HasNearWhite(w.Preview()->ShownImage()));
    QTest::keyClicks(text, "Arrival");
    // Enter is a new line of the caption here, not the window's Add.
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "Day one");
    EXPECT_EQ(w.Project().Story().Slide(0).caption.text, QStringLiteral("Arrival\nDay one"));
    EXPECT_EQ(w.Project().Pictures().size(), 3);
    EXPECT_EQ(Note(0), QStringLiteral("caption"));
    EXPECT_TRUE(Note(1).isEmpty());
    EXPECT_TRUE(HasNearWhite(w.Preview()->ShownImage()));
    EXPECT_TRUE(w.Project().Modified());

    QTest::keyClick(w.PictureList(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(w.Project().Story().IsEmpty());
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_TRUE(Note(0).isEmpty());
    EXPECT_FALSE(HasNearWhite(w.Preview()->ShownImage()));
    EXPECT_FALSE(w.Project().Modified());
    QTest::keyClick(w.PictureList(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Project().Story().Slide(0).caption.text, QStringLiteral("Arrival\nDay one"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Arrival\nDay one"));
}

TEST_F(SlidePanelTest, SeveralSlidesTakeOneTimeAndTransitionByKeyboard)
{
    MainWindow &w = StartWithThree();
    Select({0, 2}, 2);
    SlidePanel *panel = w.Slides();
    panel->OwnTime()->setFocus();
    QTest::keyClick(panel->OwnTime(), Qt::Key_Space);
    panel->Seconds()->setFocus();
    panel->Seconds()->selectAll();
    QTest::keyClicks(panel->Seconds(), "6.5");
    panel->Transition()->setFocus();
    // Random, None, then the effects: the third effect down is "Puzzle".
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(panel->Transition(), Qt::Key_Down);
    for (int row : {0, 2}) {
        EXPECT_EQ(w.Project().Story().Slide(row).durationMs, 6500) << row;
        EXPECT_EQ(w.Project().Story().Slide(row).transition, SlideTransition::Named("Puzzle")) << row;
        EXPECT_EQ(Note(row), QStringLiteral("6.5 s, Puzzle"));
    }
    EXPECT_FALSE(w.Project().Story().HasDetails(1));
    EXPECT_TRUE(Note(1).isEmpty());
    // The panel shows what a newly selected slide has.
    Select({1}, 1);
    EXPECT_FALSE(panel->OwnTime()->isChecked());
    EXPECT_EQ(panel->Transition()->currentIndex(), 0);
    Select({2}, 2);
    EXPECT_TRUE(panel->OwnTime()->isChecked());
    EXPECT_EQ(panel->Seconds()->value(), 6.5);
    // A slide given a time of its own starts from the show's interval, not the shortest time.
    const int showSeconds = w.Project().Settings().AdvanceSeconds().value_or(SlidePanel::kManualShowSeconds);
    Select({1}, 1);
    EXPECT_EQ(panel->Seconds()->value(), showSeconds);
    panel->OwnTime()->setFocus();
    QTest::keyClick(panel->OwnTime(), Qt::Key_Space);
    EXPECT_EQ(w.Project().Story().Slide(1).durationMs, showSeconds * 1000);
    EXPECT_EQ(w.Project().Story().Slide(0).durationMs, 6500);
}

TEST_F(SlidePanelTest, DetailsMoveWithTheirPicturesAndComeBackWithTheProject)
{
    MainWindow &w = StartWithThree();
    Select({0}, 0);
    QTest::keyClicks(w.Slides()->CaptionText(), "First");
    w.Slides()->FitToMusic()->click();
    EXPECT_TRUE(w.Project().Story().FitToMusic());
    Select({0}, 0);
    QTest::keyClick(w.PictureList(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(w.Project().Story().Slide(1).caption.text, QStringLiteral("First"));
    EXPECT_EQ(Note(1), QStringLiteral("caption"));
    EXPECT_TRUE(Note(0).isEmpty());

    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFileInfo::exists(dir_.filePath("show.zut.story")));
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(w.Project().Story().IsEmpty());
    EXPECT_FALSE(w.Slides()->FitToMusic()->isChecked());
    w.OpenProjectFile(dir_.filePath("show.zut"));
    EXPECT_EQ(w.Project().Story().Slide(1).caption.text, QStringLiteral("First"));
    EXPECT_TRUE(w.Slides()->FitToMusic()->isChecked());
    EXPECT_EQ(Note(1), QStringLiteral("caption"));
    EXPECT_FALSE(w.Project().Modified());
    EXPECT_TRUE(dialogs_.notices.isEmpty());
}

TEST_F(SlidePanelTest, WithoutASelectionThePanelTakesNothing)
{
    MainWindow &w = StartWithThree();
    w.PictureList()->clearSelection();
    EXPECT_FALSE(w.Slides()->CaptionText()->isEnabled());
    // Ctrl+E selects a slide to edit.
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(w.Slides()->CaptionText()->isEnabled());
    EXPECT_TRUE(w.Slides()->CaptionText()->hasFocus());
}

}  // namespace
}  // namespace lumetta
