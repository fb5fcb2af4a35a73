// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/file_list_view.h"

#include "browse/thumbnail_loader.h"
#include "support/qstring_print.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace lumetta {
namespace {

void Touch(const QString &path, int bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

class FileListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.path() + QLatin1Char('/');
        QDir(folder_).mkdir(QStringLiteral("Zoo"));
        QDir(folder_).mkdir(QStringLiteral("albums"));
        Touch(folder_ + QStringLiteral("Zoo/inside.jpg"), 1);
        Touch(folder_ + QStringLiteral("c.JPG"), 300);
        Touch(folder_ + QStringLiteral("a.bmp"), 2000);
        Touch(folder_ + QStringLiteral("B.gif"), 10);
        Touch(folder_ + QStringLiteral("d.jpeg"), 40);
        Touch(folder_ + QStringLiteral("readme.txt"), 5);
        Touch(folder_ + QStringLiteral(".secret.jpg"), 7);
        explorer_ = std::make_unique<FileListView>();
        explorer_->resize(500, 400);
        explorer_->SetFileType(NormalFiles | ReadOnlyFiles | HiddenFiles | SystemFiles | ArchiveFiles);
        explorer_->SetMask(QStringLiteral("*.BMP;*.JPG;*.JPEG;*.GIF"));
        explorer_->SetDirectory(folder_);
        explorer_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(explorer_.get()));
    }

    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < explorer_->AllCount(); ++i)
            names.append(explorer_->ItemFileName(i));
        return names;
    }

    int IndexOf(const QString &name) const { return Names().indexOf(name); }

    QPoint CentreOf(int index) const { return explorer_->visualItemRect(explorer_->topLevelItem(index)).center(); }

    QTemporaryDir dir_;
    QString folder_;
    std::unique_ptr<FileListView> explorer_;
};

TEST_F(FileListViewTest, FoldersFirstThenMatchingFilesByName)
{
    EXPECT_EQ(explorer_->Directory(), folder_);
    EXPECT_EQ(Names(), (QStringList{"albums", "Zoo", ".secret.jpg", "a.bmp", "B.gif", "c.JPG", "d.jpeg"}));
    EXPECT_EQ(explorer_->AllCount(), 7);
    EXPECT_EQ(explorer_->ItemPath(1), folder_ + QStringLiteral("Zoo"));
    EXPECT_FALSE(explorer_->IsItemFile(1));
    EXPECT_TRUE(explorer_->IsItemFile(3));
}

TEST_F(FileListViewTest, MaskWithoutDotAndHiddenFiles)
{
    explorer_->SetMask(QStringLiteral("*jpg"));
    EXPECT_EQ(Names(), (QStringList{"albums", "Zoo", ".secret.jpg", "c.JPG"}));
    explorer_->SetFileType(NormalFiles);
    EXPECT_EQ(Names(), (QStringList{"albums", "Zoo", "c.JPG"}));
}

TEST_F(FileListViewTest, ColumnClicksSort)
{
    explorer_->SetFileType(NormalFiles);
    // Another column sorts descending first: the largest file leads, folders go last (in their
    // previous order, as their sizes are equal).
    explorer_->ColumnClick(1);
    EXPECT_EQ(Names(), (QStringList{"a.bmp", "c.JPG", "d.jpeg", "B.gif", "albums", "Zoo"}));
    explorer_->ColumnClick(1);
    EXPECT_EQ(Names(), (QStringList{"albums", "Zoo", "B.gif", "d.jpeg", "c.JPG", "a.bmp"}));
    // A header click does the same.
    const QRect section(explorer_->header()->sectionViewportPosition(0), 0, explorer_->header()->sectionSize(0),
                        explorer_->header()->height());
    QTest::mouseClick(explorer_->header()->viewport(), Qt::LeftButton, {}, section.center());
    EXPECT_EQ(explorer_->SortColumn(), 0);
    EXPECT_TRUE(explorer_->SortDescending());
    EXPECT_EQ(Names(), (QStringList{"d.jpeg", "c.JPG", "B.gif", "a.bmp", "Zoo", "albums"}));
    // A new listing comes by name again.
    explorer_->Refresh();
    EXPECT_EQ(Names(), (QStringList{"albums", "Zoo", "a.bmp", "B.gif", "c.JPG", "d.jpeg"}));
}

TEST_F(FileListViewTest, SettingTheDirectory)
{
    QSignalSpy changed(explorer_.get(), &FileListView::DirectoryChanged);
    explorer_->SetItemGhosted(3, true);
    explorer_->SetDirectory(folder_);
    EXPECT_TRUE(explorer_->IsItemGhosted(3)) << "the same folder is not listed again";
    explorer_->SetDirectory(folder_ + QStringLiteral("does-not-exist"));
    EXPECT_EQ(explorer_->Directory(), folder_);
    EXPECT_TRUE(explorer_->IsItemGhosted(3));
    EXPECT_EQ(changed.count(), 0);
    // Without the trailing "/" the text differs: listed again, stored with the "/".
    explorer_->SetDirectory(dir_.path());
    EXPECT_EQ(explorer_->Directory(), folder_);
    EXPECT_FALSE(explorer_->IsItemGhosted(3));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FileListViewTest, GoUpReachesTheVolumeList)
{
    explorer_->SetDirectory(folder_ + QStringLiteral("Zoo/"));
    explorer_->GoUp();
    EXPECT_EQ(explorer_->Directory(), folder_);
    explorer_->SetDirectory(QStringLiteral("/"));
    explorer_->GoUp();
    EXPECT_EQ(explorer_->Directory(), QStringLiteral("Drives"));
    ASSERT_GE(explorer_->AllCount(), 1);
    EXPECT_EQ(explorer_->ItemPath(0), QStringLiteral("/"));
    EXPECT_EQ(explorer_->headerItem()->text(2), QStringLiteral("Disk Size"));
    explorer_->GoUp();
    EXPECT_EQ(explorer_->Directory(), QStringLiteral("Drives"));

    // Opening a volume shows its root folder.
    QTest::mouseDClick(explorer_->viewport(), Qt::LeftButton, {}, CentreOf(0));
    EXPECT_EQ(explorer_->Directory(), QStringLiteral("/"));
    EXPECT_EQ(explorer_->headerItem()->text(1), QStringLiteral("Size"));
}

TEST_F(FileListViewTest, KeysGoUpAndOpen)
{
    explorer_->SetDirectory(folder_ + QStringLiteral("Zoo/"));
    explorer_->setFocus();
    QTest::keyClick(explorer_.get(), Qt::Key_Backspace);
    EXPECT_EQ(explorer_->Directory(), folder_);

    explorer_->SetDirectory(folder_ + QStringLiteral("albums/"));
    QTest::keyClick(explorer_.get(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(explorer_->Directory(), folder_ + QStringLiteral("albums/"));
    QTest::keyClick(explorer_.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(explorer_->Directory(), folder_);

    QSignalSpy doubled(explorer_.get(), &FileListView::DoubleClicked);
    explorer_->clearSelection();
    QTest::keyClick(explorer_.get(), Qt::Key_Return);
    EXPECT_EQ(doubled.count(), 0) << "Enter with nothing selected is no double click";
    explorer_->setCurrentItem(explorer_->topLevelItem(IndexOf(QStringLiteral("Zoo"))));
    QTest::keyClick(explorer_.get(), Qt::Key_Return);
    EXPECT_EQ(doubled.count(), 1);
    EXPECT_EQ(explorer_->Directory(), folder_ + QStringLiteral("Zoo/"));
}

TEST_F(FileListViewTest, DoubleClickTellsBeforeOpening)
{
    QString seen;
    QObject::connect(explorer_.get(), &FileListView::DoubleClicked, explorer_.get(),
                     [&] { seen = explorer_->Directory(); });
    QTest::mouseDClick(explorer_->viewport(), Qt::LeftButton, {}, CentreOf(IndexOf(QStringLiteral("Zoo"))));
    EXPECT_EQ(seen, folder_);
    EXPECT_EQ(explorer_->Directory(), folder_ + QStringLiteral("Zoo/"));
    EXPECT_EQ(Names(), QStringList{"inside.jpg"});

    // A double-clicked file stays where it is.
    QTest::mouseDClick(explorer_->viewport(), Qt::LeftButton, {}, CentreOf(0));
    EXPECT_EQ(explorer_->Directory(), folder_ + QStringLiteral("Zoo/"));
}

TEST_F(FileListViewTest, SelectionQueries)
{
    EXPECT_EQ(explorer_->SelectedCount(), explorer_->AllCount());
    EXPECT_EQ(explorer_->SelectedFilenames(), QString());
    EXPECT_EQ(explorer_->SelectedSize(), 0);

    QSignalSpy clicked(explorer_.get(), &FileListView::Clicked);
    const int bmp = IndexOf(QStringLiteral("a.bmp"));
    const int jpg = IndexOf(QStringLiteral("c.JPG"));
    const int zoo = IndexOf(QStringLiteral("Zoo"));
    QTest::mouseClick(explorer_->viewport(), Qt::LeftButton, {}, CentreOf(bmp));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(explorer_->CurrentFile(), folder_ + QStringLiteral("a.bmp"));
    QTest::mouseClick(explorer_->viewport(), Qt::LeftButton, Qt::ControlModifier, CentreOf(jpg));
    QTest::mouseClick(explorer_->viewport(), Qt::LeftButton, Qt::ControlModifier, CentreOf(zoo));
    EXPECT_EQ(explorer_->CurrentFile(), folder_ + QStringLiteral("Zoo"));
    EXPECT_EQ(explorer_->SelectedCount(), 3);
    EXPECT_EQ(explorer_->SelectedFilenames(), folder_ + "Zoo;" + folder_ + "a.bmp;" + folder_ + "c.JPG");
    EXPECT_EQ(explorer_->SelectedTypes(), FileListView::FileObject | FileListView::DirectoryObject);

    // Sizes are read by full path, whatever the current folder of the process.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QDir::rootPath());
    EXPECT_EQ(explorer_->SelectedSize(), 2300);
    QDir::setCurrent(cwd);
}

TEST_F(FileListViewTest, RightClickSelectsAndOffersTheMenu)
{
    explorer_->SetContextMenu(true);
    const int bmp = IndexOf(QStringLiteral("a.bmp"));
    const int gif = IndexOf(QStringLiteral("B.gif"));
    const int jpg = IndexOf(QStringLiteral("c.JPG"));
    explorer_->topLevelItem(bmp)->setSelected(true);
    explorer_->topLevelItem(gif)->setSelected(true);
    // On a selected item the selection stays; elsewhere it moves to that item alone.
    QTest::mouseClick(explorer_->viewport(), Qt::RightButton, {}, CentreOf(gif));
    EXPECT_EQ(explorer_->SelectedCount(), 2);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QApplication::activePopupWidget()->close();
    QTest::mouseClick(explorer_->viewport(), Qt::RightButton, {}, CentreOf(jpg));
    EXPECT_EQ(explorer_->SelectedFilenames(), folder_ + QStringLiteral("c.JPG"));
    EXPECT_EQ(explorer_->CurrentFile(), folder_ + QStringLiteral("c.JPG"));
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QApplication::activePopupWidget()->close();
}

TEST_F(FileListViewTest, PicturesShowTheirThumbnailsOnceMade)
{
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(QColor(250, 0, 250));
    ASSERT_TRUE(picture.save(folder_ + QStringLiteral("a.bmp"), "BMP"));
    ThumbnailLoader thumbnails(QSize(48, 36), explorer_->devicePixelRatioF());
    explorer_->SetThumbnails(&thumbnails);
    explorer_->Refresh();
    const QRect row = explorer_->visualItemRect(explorer_->topLevelItem(IndexOf("a.bmp")));
    EXPECT_GE(row.height(), 36);
    // The first paint asks for the rows on screen; nothing waits for them.
    explorer_->grab();
    ASSERT_TRUE(thumbnails.WaitUntilIdle(10000));
    ASSERT_NE(thumbnails.Cached(folder_ + QStringLiteral("a.bmp")), nullptr);
    // Files that are no pictures (empty ones here) keep their own icons.
    EXPECT_EQ(thumbnails.Cached(folder_ + QStringLiteral("B.gif"))->status, PictureReader::Status::Unreadable);
    EXPECT_EQ(thumbnails.Cached(folder_ + QStringLiteral("Zoo")), nullptr);
    const QImage shown = explorer_->viewport()->grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    int magenta = 0;
    for (int y = qRound(row.top() * ratio); y < qRound((row.bottom() + 1) * ratio); ++y)
        for (int x = qRound(row.left() * ratio); x < qRound((row.left() + 60) * ratio); ++x)
            magenta += shown.pixelColor(x, y) == QColor(250, 0, 250);
    // The 48 x 36 thumbnail, whole, in device pixels.
    EXPECT_EQ(magenta, qRound(48 * 36 * ratio * ratio));
}

TEST_F(FileListViewTest, DraggedItemsAreFileUrlsToCopy)
{
    std::unique_ptr<QMimeData> data(explorer_->model()->mimeData(
        {explorer_->model()->index(IndexOf("Zoo"), 0), explorer_->model()->index(IndexOf("c.JPG"), 0)}));
    ASSERT_NE(data, nullptr);
    QStringList paths;
    for (const QUrl &url : data->urls())
        paths << url.toLocalFile();
    EXPECT_EQ(paths, (QStringList{folder_ + "Zoo", folder_ + "c.JPG"}));
    EXPECT_EQ(explorer_->model()->supportedDragActions(), Qt::CopyAction);
    EXPECT_TRUE(explorer_->dragEnabled());
    EXPECT_FALSE(explorer_->acceptDrops());
}

TEST(ExplorerContextMenu, OffersOpenAndCopyPath)
{
    const QStringList paths{QStringLiteral("/tmp/a b.jpg"), QStringLiteral("/tmp/c.gif")};
    std::unique_ptr<QMenu> menu(FileListView::CreateContextMenu(paths, nullptr));
    QStringList texts;
    for (QAction *action : menu->actions())
        texts.append(action->text());
    EXPECT_EQ(texts, (QStringList{"Open", "Open containing folder", "Copy path"}));
    menu->actions().last()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("/tmp/a b.jpg\n/tmp/c.gif"));
}

}  // namespace
}  // namespace lumetta
